#pragma once

#include <QDialog>
#include <QString>

class DateField;
class Messenger;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QWidget;
class MainForm;

// The search window: finds the rows whose day name, date or one column's text
// equals what the user enters, lists every hit with its row number, and selects a
// clicked hit in the main day list.
class Thledatokno final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Thledatokno)

public:
    // The criteria, in the order of the columns.
    enum Criterion { DayName, Date, Time, Event, Value1, Value2 };

    // Opens the window on the main list's selected row and waits until it is closed.
    static void open(MainForm& window, Messenger& messenger);

    // Fills the criteria from the columns and takes over the selected row and its date.
    Thledatokno(MainForm& window, Messenger& messenger);

    // ListBox1Click: shows the input of the criterion and empties the results.
    void chooseCriterion(int index);

    const QString& vysledek() const { return m_vysledek; }
    const QString& zmena() const { return m_zmena; }

    // Closing by Esc or the close box tells the row in the status bar.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void createControls();
    QWidget* createInputs();
    void showForm();
    void clearResults();
    void search(int field, const QString& value);
    void DateEdit1Change();
    void DateEdit1ButtonClick();
    void reportEmptyDate();
    void ListBox2Click(int line);

    MainForm& m_window;
    Messenger& m_messenger;

    QString m_poradc;
    QString m_zmena = QStringLiteral("zmena");
    QString m_zmena2 = QStringLiteral("NIC");
    QString m_vysledek;
    int m_openingRow = -1;
    int m_clickedRow = -1;
    bool m_placed = false;

    QListWidget* m_criteria = nullptr;
    QWidget* m_dayInput = nullptr;
    QWidget* m_dateInput = nullptr;
    QWidget* m_textInput = nullptr;
    QComboBox* m_dayNames = nullptr;
    DateField* m_date = nullptr;
    QLineEdit* m_text = nullptr;
    QPushButton* m_ok = nullptr;
    QLabel* m_resultHeader = nullptr;
    QLabel* m_resultText = nullptr;
    QListWidget* m_results = nullptr;
    QLabel* m_legend = nullptr;
};
