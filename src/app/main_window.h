#pragma once

#include "app/day_list_model.h"
#include "calendar/day_table.h"
#include "export/export_dialog.h"
#include "export/import_dialog.h"
#include "export/print_pages.h"
#include "settings/settings.h"
#include "settings/settings_file.h"
#include "widgets/icons.h"
#include "widgets/main_form.h"
#include "widgets/main_state.h"
#include "widgets/row_looks.h"

#include <QMainWindow>
#include <QString>

#include <memory>

class DesktopIntegration;
class AutoSave;
class GoToPanel;
class Messenger;
class QAction;
class QShortcut;
class QLabel;
class QMenu;
class QSystemTrayIcon;
class QTableView;
class QTimer;
class QToolBar;
class QToolButton;

// The main window: the day list with its toolbar, go-to strip, status bar, menus
// and tray icon; it owns the day table, the settings and the main-window state.
class TForm1 final : public QMainWindow, public MainForm {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm1)

public:
    // The windows that other forms open from the main window.
    enum class Dialog { NewRecord, EditRecord, DeleteRecord, DeleteAll, Search, Settings, About };

    static constexpr int kNormalClientWidth = 441;
    static constexpr int kDesignClientWidth = 840;
    static constexpr int kDesignClientHeight = 554;

    // Runs window creation and the start-up check; all files live in `programDir`.
    TForm1(const QString& programDir, Messenger& messenger, QWidget* parent = nullptr);
    ~TForm1() override;

    QWidget* mainWidget() override { return this; }
    DayTable& table() override { return m_table; }
    Settings& settings() override { return m_settings; }
    MainState& state() override { return m_state; }
    const QString& programDir() const override { return m_programDir; }
    Messenger& messenger() override { return m_messenger; }
    DesktopIntegration* desktopIntegration() const override { return m_desktop.get(); }
    QTableView* listView() const { return m_list; }
    DayListModel& model() { return *m_model; }
    AutoSave& autoSave() { return *m_autosave; }

    // Brings the window in step with the settings record: tray icon, status bar,
    // grid lines, row looks, holiday years, column titles and widths, column layout,
    // check marks and the go-to strip. Runs after every settings load and after the
    // settings dialog's "Ok".
    void applySettings() override;

    int selectedRow() const override;
    void selectRow(int row) override;
    void prohledatClick() override;
    void focusList() override;
    void repaintList() override;

    void buildListColumns() override;
    void removeListColumns(int count) override;
    // In the normal mode the client area is 441 pixels wide.
    void Button1Click() override;
    void layoutColumns() override;

    // Saves the records, then the settings with both overview lists.
    void snastaveni();
    // Writes the year list and the day-count list to their files; false after a
    // failure, which has been reported.
    bool savenClick();
    // Reads both lists back from their files (rebuilt from the day rows when a file
    // is missing or damaged).
    void loadnClick() override;

    // The desktop's autostart and launcher services; the settings dialog uses them.
    void setDesktopIntegration(std::unique_ptr<DesktopIntegration> desktop);

    void writeRangePanels() override;

    // Shows the window in front of the others (a second start asks for it).
    void bringToFront();

    // Writes status panel 0..3.
    void setStatusText(int panel, const QString& text);
    void showRecordNumber(int row) override;
    QString statusText(int panel) const;

    // The toolbar and menu commands.
    void newRecord();
    void editRecord();
    void deleteRecord();
    void deleteAll();
    // Prejdina1Click (record menu): shows or hides the go-to strip with today's date.
    void toggleGoToPanel();
    // ToolButton5Click: the same, and the strip's unit choice is taken back.
    void ToolButton5Click();
    // The go-to strip's controls, made when first needed.
    GoToPanel* goToPanel();
    void search();
    void openSettings();
    void about();
    void toggleAutostart();
    // Opens the export dialog on what is in memory.
    void exportEvents();
    // "Importovat...": adds the events of an iCalendar file after a question.
    void importEvents();
    // "Tisk...": the print dialog, then Qt's print preview (a part loaded when first used).
    void printPages();
    // "Uložit jako PDF...": the same pages into a PDF file.
    void savePdf();
    // "Publikovat...": brings a CalDAV calendar in step with the list.
    void publishEvents();
    // Where the export and PDF dialogs ask for their file name (tests answer on their own).
    void setSaveFileChooser(SaveFileChooser chooser) { m_saveFileChooser = std::move(chooser); }
    // Where the import asks for the file to read (tests answer on their own).
    void setOpenFileChooser(OpenFileChooser chooser) { m_openFileChooser = std::move(chooser); }

signals:
    // The settings record changed after start-up (the files follow shortly).
    void settingsChanged();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void FormCreate();
    void kontrolaClick();
    void loadSettings();
    void reportRebuiltLists(const settings_file::LoadReport& report);
    void recoverEmptyTable();
    void generateFirstYear();
    void goToToday();
    void scheduleGoToToday();
    void armMidnight();
    void syncDisplay();
    void showGoToPanel(bool shown);
    holidays::Years holidayYears() const;
    // The list's rows, columns and looks as printing reads them.
    print_pages::Source printSource() const;
    // A day of the month the print dialog offers: the selected row's.
    QDate printMonth() const;
    void followYearList();

    void ListView1Click();
    void ListView1DblClick();
    bool needsSelection();
    void openDialog(Dialog dialog);

    void createToolBar();
    void createMenus();
    void createTrayIcon();
    void createStatusBar();
    // Status panel 0 without a row number.
    void clearRecordNumber();
    void createCentralArea();
    QToolButton* addToolButton(int number, const QString& hint, icons::Picture picture);

    QString m_programDir;
    Messenger& m_messenger;
    std::unique_ptr<DesktopIntegration> m_desktop;
    DayTable m_table;
    Settings m_settings;
    MainState m_state;
    DayListModel* m_model = nullptr;
    AutoSave* m_autosave = nullptr;
    RowLooks m_looks;

    QToolBar* m_toolBar = nullptr;
    QWidget* m_goToPanel = nullptr;
    GoToPanel* m_goTo = nullptr;
    QTableView* m_list = nullptr;
    QLabel* m_panels[4] = {};
    QMenu* m_recordMenu = nullptr;
    QMenu* m_trayMenu = nullptr;
    QAction* m_autostartAction = nullptr;
    QSystemTrayIcon* m_trayIcon = nullptr;
    QTimer* m_midnight = nullptr;
    QShortcut* m_escape = nullptr;
    bool m_goToTodayQueued = false;
    bool m_goToTodayRan = false;
    bool m_shownOnce = false;
    bool m_inWidthCheck = false;
    SaveFileChooser m_saveFileChooser = fileDialogChooser();
    OpenFileChooser m_openFileChooser = openFileDialogChooser();
};
