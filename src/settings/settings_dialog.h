#pragma once

#include "settings/settings.h"
#include "settings/year_range.h"

#include <QDialog>
#include <QString>
#include <QStringList>

class GeneralPage;
class MainForm;
class Messenger;
class QTabWidget;

// The settings dialog "Nastavení programu": general options, day names, year range
// and launchers on its first page, row looks and columns on the other three. It works
// on copies of the settings and of the two overview lists; only "Ok" hands them back.
class Tnastav final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Tnastav)

public:
    // Opens the dialog over the main window, which has checked the selection, written
    // the overview lists and put the selected row into `pocet`; returns once it closed.
    static void open(MainForm& window, Messenger& messenger);

    Tnastav(MainForm& window, Messenger& messenger, QWidget* parent = nullptr);
    ~Tnastav() override;

    // The working copy the pages edit; its `pocets` is the dialog's column count `pocet`.
    Settings& working() { return m_work; }
    const Settings& working() const { return m_work; }
    // The column count when the dialog opened.
    const QString& pocet1() const { return m_pocet1; }
    // The day-name format being chosen, 0 ... 3.
    int formatIndex() const;
    const YearRange& yearRange() const { return m_range; }
    const QStringList& workingYears() const { return m_years; }
    const QStringList& workingDayCounts() const { return m_dayCounts; }

    // Page `index`: 0 "Obecné nastavení", 1 "Nastavení barev", 2 "Možnosti zobrazení",
    // 3 "Nastavení sloupců".
    QWidget* page(int index) const;

signals:
    // The previews of the other pages follow these.
    void formatChanged(int format);
    void gridLinesChanged(bool shown);
    void pageChanged(int index);
    // The working copy now holds the main window's settings (once, before showing).
    void transferredIn();
    // "Výchozí nastavení" has reset the working copy; pages show the result at once.
    void defaultsRestored();

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Creation: the pages and the buttons below them.
    void createPages();
    // Pages 2 to 4: the row looks and the columns.
    void createStylePages();

    // Reads the overview files into the working lists; false when they cannot be read.
    bool readLists();
    void transferIn();
    void transferOut(Settings& target) const;
    void restoreDefaults();

    // "Ok" and what the main window does after it closed.
    void Button53Click();
    void applyColumnCount();
    void appendAddedYears();
    void handBackLists();
    void finishOk();

    MainForm& m_window;
    Messenger& m_messenger;
    Settings m_work;
    QString m_pocet1 = QStringLiteral("0");
    YearRange m_range;
    QStringList m_years;
    QStringList m_dayCounts;
    // The message of a failed autostart entry, shown once the main window is in step.
    QString m_autostartError;
    bool m_placed = false;

    QTabWidget* m_pages = nullptr;
    GeneralPage* m_general = nullptr;
};
