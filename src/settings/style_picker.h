#pragma once

#include "settings/settings.h"

#include <QDialog>

class QCheckBox;
class QLabel;

// Tstyl: the style picker; bold, italic and underline of a row kind, each set at once.
class Tstyl final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Tstyl)

public:
    Tstyl(RowItem& item, QWidget* parent = nullptr);

    QLabel* sample() const { return m_sample; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QCheckBox* addBox(const QString& text, const QString& name, int top, bool RowItem::*flag);
    void showSample();

    RowItem& m_item;
    QLabel* m_sample = nullptr;
};
