#pragma once

#include "export/publish_state.h"

#include <QDialog>

class DayTable;
class Messenger;
class QCheckBox;
class QLineEdit;
class QPushButton;
struct Settings;

// The publish connection dialog: the calendar collection's address, the user name and
// the password, and whether to remember them (the password in the desktop's store).
class Tpublikovat final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Tpublikovat)

public:
    // `storeAvailable`: whether the desktop has a password store to remember the password in.
    Tpublikovat(const publish_state::Address& address, const QString& password, bool storeAvailable,
        QWidget* parent = nullptr);

    publish_state::Address address() const;
    QString password() const;
    bool remember() const;

private:
    void updateButton();

    QLineEdit* m_address = nullptr;
    QLineEdit* m_user = nullptr;
    QLineEdit* m_password = nullptr;
    QCheckBox* m_remember = nullptr;
    QPushButton* m_publish = nullptr;
};

// "Publikovat...": loads the publish part, asks for the connection, and publishes the day
// table with a progress dialog whose "Zrušit" stops the run.
void publishFromWindow(QWidget* parent, const QString& dir, const DayTable& table, const Settings& settings,
    Messenger& messenger);
