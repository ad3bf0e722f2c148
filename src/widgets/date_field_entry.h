#pragma once

#include <QObject>

#include <functional>

class DateField;

// Tells when the user enters a date field: it gains the focus from the keyboard or
// a shortcut, or is clicked. The focus that merely comes back to the field when a
// message box or the calendar closes does not count, so a message shown on entering
// cannot bring itself back again and again.
class DateFieldEntry final : public QObject {
    Q_DISABLE_COPY_MOVE(DateFieldEntry)

public:
    DateFieldEntry(DateField& field, std::function<void()> entered);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> m_entered;
    bool m_inside = false;
};
