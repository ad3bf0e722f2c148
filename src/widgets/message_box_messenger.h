#pragma once

#include "platform/messenger.h"

#include <QPointer>
#include <QWidget>

// The program's messenger: modal message boxes over the given window.
class MessageBoxMessenger final : public Messenger {
public:
    void setParentWindow(QWidget* window) { m_parent = window; }
    void show(Icon icon, const QString& title, const QString& text) override;
    bool ask(const QString& title, const QString& text) override;

private:
    QPointer<QWidget> m_parent;
};
