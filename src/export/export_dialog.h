#pragma once

#include "export/export_file.h"

#include <QDialog>

#include <functional>

class DateField;
class DayTable;
class Messenger;
class QAbstractButton;
class QPushButton;
class QRadioButton;
struct Settings;

// Asks for the name of a file to write; an empty name when the user cancels. The
// program shows a file dialog; tests answer on their own.
using SaveFileChooser = std::function<QString(
    QWidget* parent, const QString& caption, const QString& suggestedPath, const QString& filter)>;

// The file dialog of the desktop.
SaveFileChooser fileDialogChooser();

// Reads a from/to pair of date fields; false (reported, with the focus on the field to
// mend) when a date is incomplete or "from" comes after "to".
bool readDateRange(DateField& fromField, DateField& toField, Messenger& messenger, QDate& from, QDate& to);

// The export dialog: a format and a range (the whole calendar or from/to), then
// the file to write the events that are in memory to.
class Texport final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Texport)

public:
    Texport(const DayTable& table, const Settings& settings, Messenger& messenger, SaveFileChooser chooser,
        QWidget* parent = nullptr);

    export_file::Format format() const;

private:
    void Button1Click();
    void updateRange();
    // The range the dialog asks for; false (reported) when the from/to dates are unusable.
    bool readRange(QDate& from, QDate& to);
    QString chooseFile();
    void showNoEvents();
    void write(const export_file::Request& request);

    const DayTable& m_table;
    const Settings& m_settings;
    Messenger& m_messenger;
    SaveFileChooser m_chooser;
    QRadioButton* m_ics = nullptr;
    QRadioButton* m_csv = nullptr;
    QRadioButton* m_whole = nullptr;
    QRadioButton* m_fromTo = nullptr;
    DateField* m_from = nullptr;
    DateField* m_to = nullptr;
    QPushButton* m_export = nullptr;
};
