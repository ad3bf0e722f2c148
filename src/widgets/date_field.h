#pragma once

#include <QDate>
#include <QPointer>
#include <QString>
#include <QWidget>

class QLineEdit;
class QToolButton;
class DateFieldPopup;

// A date field: dd.mm.yyyy typed over a mask, an empty state, and a drop-down
// calendar with year and month steps. Every form that takes a date uses it.
class DateField final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DateField)

public:
    // What the field shows when it holds no date.
    static const QString kEmptyText;

    explicit DateField(QWidget* parent = nullptr);
    ~DateField() override;

    // The shown date; invalid when the field is empty or the text is incomplete.
    QDate date() const;
    // Shows the date; an invalid date empties the field. Reports a change like typing does.
    void setDate(const QDate& date);
    // What the field shows: "dd.mm.yyyy", or "  .  .    " when empty.
    QString text() const;
    void clear();
    bool isEmpty() const;

    QLineEdit* lineEdit() const { return m_edit; }
    QToolButton* calendarButton() const { return m_button; }
    // The open drop-down calendar, or null.
    QWidget* calendarPopup() const;

    // Opens the drop-down calendar as if the user had asked for it.
    void openCalendar();

signals:
    // The text became a new complete date, or the empty state (then the date is invalid).
    void dateChanged(const QDate& date);
    // The user opened the drop-down calendar.
    void calendarOpened();
    // The user took a date from the drop-down calendar; the field has the focus again.
    void calendarPicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onTextChanged();
    void acceptFromCalendar(const QDate& date);

    QLineEdit* m_edit = nullptr;
    QToolButton* m_button = nullptr;
    QPointer<DateFieldPopup> m_popup;
    // The last text reported through dateChanged: a complete date or the empty text.
    QString m_reported;
};
