#include "widgets/date_field_entry.h"

#include "widgets/date_field.h"

#include <QEvent>
#include <QFocusEvent>
#include <QLineEdit>

DateFieldEntry::DateFieldEntry(DateField& field, std::function<void()> entered)
    : QObject(&field)
    , m_entered(std::move(entered))
{
    field.lineEdit()->installEventFilter(this);
}

bool DateFieldEntry::eventFilter(QObject* watched, QEvent* event)
{
    bool entered = false;
    if (event->type() == QEvent::MouseButtonPress) {
        entered = true;
    } else if (event->type() == QEvent::FocusIn) {
        // A click reports through its press; the focus given back after a message box
        // or the calendar popup is no new entry.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        entered = reason != Qt::MouseFocusReason && reason != Qt::ActiveWindowFocusReason
            && reason != Qt::PopupFocusReason;
    }
    if (entered && !m_inside) {
        m_inside = true;
        m_entered();
        m_inside = false;
    }
    return QObject::eventFilter(watched, event);
}
