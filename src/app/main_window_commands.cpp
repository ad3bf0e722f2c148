#include "app/main_window.h"

#include "about/about_box.h"
#include "app/go_to_panel.h"
#include "calendar/overview_files.h"
#include "export/publish_dialog.h"
#include "platform/clock.h"
#include "platform/desktop_integration.h"
#include "platform/desktop_shell_open.h"
#include "platform/messenger.h"
#include "records/deleting.h"
#include "records/record_dialogs.h"
#include "search/search_window.h"
#include "settings/settings_dialog.h"
#include "settings/settings_file.h"

#include <QAbstractItemView>
#include <QAction>
#include <QTableView>

// The main window's commands: the toolbar's and the menus' entries and the forms they open.

namespace {
const QString kNeedsSelection = QStringLiteral("Musíte mít označený záznam");
const QString kFileError = QStringLiteral("Chyba při vytváření souboru");
} // namespace

// ---- commands -------------------------------------------------------------

bool TForm1::needsSelection()
{
    if (selectedRow() >= 0)
        return true;
    m_messenger.show(Messenger::Icon::Warning, QStringLiteral("Upozornění"), kNeedsSelection);
    return false;
}

void TForm1::openDialog(Dialog dialog)
{
    switch (dialog) {
    case Dialog::NewRecord:
        record_dialogs::openNewRecord(*this);
        break;
    case Dialog::EditRecord:
        record_dialogs::openEditRecord(*this);
        break;
    case Dialog::DeleteRecord:
        deleting::DeleteRecord(m_table, m_messenger, m_state.entryFields(), selectedRow());
        break;
    case Dialog::DeleteAll:
        deleting::DeleteAllRecords(m_table, m_messenger);
        break;
    case Dialog::About: {
        DesktopShellOpen shell;
        Toprogramu box(shell, this);
        box.exec();
        break;
    }
    case Dialog::Settings:
        Tnastav::open(*this, m_messenger);
        break;
    case Dialog::Search:
        Thledatokno::open(*this, m_messenger);
        break;
    }
}

void TForm1::newRecord()
{
    if (needsSelection())
        openDialog(Dialog::NewRecord);
}

void TForm1::editRecord()
{
    if (needsSelection())
        openDialog(Dialog::EditRecord);
}

void TForm1::deleteRecord()
{
    if (needsSelection())
        openDialog(Dialog::DeleteRecord);
}

void TForm1::deleteAll()
{
    openDialog(Dialog::DeleteAll);
}

void TForm1::toggleGoToPanel()
{
    m_settings.jdiokno = !m_settings.jdiokno;
    goToPanel()->setDate(clock_source::today());
    showGoToPanel(m_settings.jdiokno);
    emit settingsChanged();
}

void TForm1::ToolButton5Click()
{
    goToPanel()->clearUnit();
    toggleGoToPanel();
}

void TForm1::search()
{
    if (needsSelection())
        openDialog(Dialog::Search);
}

void TForm1::openSettings()
{
    const int row = selectedRow();
    if (row < 0) {
        needsSelection();
        return;
    }
    // The settings dialog reads the lists from their files; without them it does not open.
    if (!savenClick())
        return;
    m_state.pocet = QStringList { QString::number(row) };
    openDialog(Dialog::Settings);
}

void TForm1::about()
{
    openDialog(Dialog::About);
}

void TForm1::exportEvents()
{
    Texport dialog(m_table, m_settings, m_messenger, m_saveFileChooser, this);
    dialog.exec();
}

void TForm1::importEvents()
{
    const int first = importFromWindow(this, m_table, m_settings, m_messenger, m_openFileChooser);
    if (first >= 0)
        selectRow(first);
}

void TForm1::publishEvents()
{
    publishFromWindow(this, m_programDir, m_table, m_settings, m_messenger);
}

void TForm1::toggleAutostart()
{
    // Registration with the system happens when the settings dialog applies its values.
    m_settings.start = !m_settings.start;
    m_autostartAction->setChecked(m_settings.start);
    emit settingsChanged();
}

bool TForm1::savenClick()
{
    if (overview_files::save(m_programDir, m_table.years(), m_table.dayCounts()))
        return true;
    m_messenger.show(Messenger::Icon::Error, QStringLiteral("Chyba"), kFileError);
    return false;
}

void TForm1::loadnClick()
{
    reportRebuiltLists(settings_file::loadLists(m_programDir, m_settings, m_table));
}

void TForm1::reportRebuiltLists(const settings_file::LoadReport& report)
{
    // Before the records are loaded there is nothing to rebuild from; the next load tells.
    if (!report.listsRebuilt || m_table.rowCount() == 0)
        return;
    m_messenger.show(Messenger::Icon::Information, QStringLiteral("Informace"),
        QStringLiteral("Soubory „prehled roku.zrk“ a „prehled dnu.zrk“ chyběly nebo byly poškozené. "
                       "Přehled roků a dnů byl obnoven podle záznamů."));
}

void TForm1::setDesktopIntegration(std::unique_ptr<DesktopIntegration> desktop)
{
    m_desktop = std::move(desktop);
}

void TForm1::bringToFront()
{
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
}
