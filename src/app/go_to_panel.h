#pragma once

#include <QWidget>

class DateField;
class Messenger;
class QComboBox;
class QToolButton;
class MainForm;

// The go-to strip under the toolbar: jumps to a date or to the first or last row,
// and steps from the selected row by a day, a week, a month or a year. Every jump
// selects through the main window and shows the row's number in the status bar.
class GoToPanel final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(GoToPanel)

public:
    // The step units, in the order of ComboBox1's items.
    enum Unit { NoUnit = -1, Days, Weeks, Months, Years };

    GoToPanel(MainForm& form, Messenger& messenger, QWidget* parent);

    DateField* dateField() const { return m_date; }
    // Shows the date in DateEdit2; jumps when the field is armed.
    void setDate(const QDate& date);
    // Takes back the unit choice: the step buttons do nothing until one is chosen.
    // Their hints stay as they were.
    void clearUnit();

    // ToolbarButton971Click ("A"): today's date into the field.
    void ToolbarButton971Click();
    // tlacitko2Click and tlacitko3Click: one step of the chosen unit back (-1) or forward (+1).
    void step(int direction);
    // tlacitko1Click, tlacitko4Click.
    void tlacitko1Click();
    void tlacitko4Click();

private:
    void createControls();
    void ComboBox1Change(int unit);
    void DateEdit2Change();
    void DateEdit2ButtonClick();
    void reportWithoutToday();

    bool takeApartSelectedDate();
    void stepRows(int rows);
    void monthStep(int direction);
    void yearStep(int direction);
    void d3Click();
    void goToFieldDate();
    void jump(int row);
    void informUser(const QString& text);

    MainForm& m_form;
    Messenger& m_messenger;
    DateField* m_date = nullptr;
    QComboBox* m_units = nullptr;
    QToolButton* m_back = nullptr;
    QToolButton* m_forward = nullptr;
};
