#include "widgets/message_box_messenger.h"

#include <QMessageBox>

void MessageBoxMessenger::show(Icon icon, const QString& title, const QString& text)
{
    QMessageBox::Icon boxIcon = QMessageBox::Information;
    switch (icon) {
    case Icon::Information:
        boxIcon = QMessageBox::Information;
        break;
    case Icon::Warning:
        boxIcon = QMessageBox::Warning;
        break;
    case Icon::Error:
        boxIcon = QMessageBox::Critical;
        break;
    case Icon::Question:
        boxIcon = QMessageBox::Question;
        break;
    case Icon::NoIcon:
        boxIcon = QMessageBox::NoIcon;
        break;
    }
    QMessageBox box(boxIcon, title, text, QMessageBox::Ok, m_parent);
    box.exec();
}

bool MessageBoxMessenger::ask(const QString& title, const QString& text)
{
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, m_parent);
    return box.exec() == QMessageBox::Yes;
}
