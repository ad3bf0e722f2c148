#pragma once

#include <QString>

class DayTable;
class DesktopIntegration;
class Messenger;
class QWidget;
struct MainState;
struct Settings;

// What the forms may ask of the main window, and all they may ask: the day table with
// its lists, the settings and the main-window state; the day list's selection, focus
// and painting; the column layout; the status panels. The main window implements it;
// forms and the go-to strip hold a reference to it, never to the window itself.
class MainForm {
public:
    // The window that forms open over.
    virtual QWidget* mainWidget() = 0;

    // ---- what the window owns
    virtual DayTable& table() = 0;
    virtual Settings& settings() = 0;
    virtual MainState& state() = 0;
    virtual const QString& programDir() const = 0;
    virtual Messenger& messenger() = 0;
    // The desktop's log-on entry and launchers; null when the window has none.
    virtual DesktopIntegration* desktopIntegration() const = 0;

    // ---- the day list
    // The selected row, or -1.
    virtual int selectedRow() const = 0;
    // Clears the selection, selects the row, makes it current, scrolls it into view
    // and gives the list the focus. Every jump uses it.
    virtual void selectRow(int row) = 0;
    // The lookup of the day row whose date is `pocet`'s first entry: on a hit the row
    // is selected and `pocet` holds its index; on a miss `pocet` keeps the text.
    virtual void prohledatClick() = 0;
    // Gives the day list the keyboard focus.
    virtual void focusList() = 0;
    // Repaints the day list's rows (after their looks changed).
    virtual void repaintList() = 0;

    // ---- status panels
    // Panel 0: "Č. záznamu: " and the row's 1-based number.
    virtual void showRecordNumber(int row) = 0;
    // Panels 1 to 3: the range of years.
    virtual void writeRangePanels() = 0;

    // ---- settings in force and the column layout
    // Brings the window in step with the settings record.
    virtual void applySettings() = 0;
    // o1Click, o2Click, o3Click: removes the columns of a 4-, 5- or 6-column list.
    virtual void removeListColumns(int count) = 0;
    // Creates the `pocets` columns with the settings' titles and widths.
    virtual void buildListColumns() = 0;
    // Lays the columns out for the window's mode; paused while stavtimeru7 is "OFF".
    virtual void layoutColumns() = 0;
    // Button1Click ("kontrola šířky"): in the normal mode the window keeps its width.
    virtual void Button1Click() = 0;
    // Reads the year list and the day-count list back from their files.
    virtual void loadnClick() = 0;

protected:
    MainForm() = default;
    ~MainForm() = default;
    MainForm(const MainForm&) = delete;
    MainForm& operator=(const MainForm&) = delete;
};
