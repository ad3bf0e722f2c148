#include "app/main_window.h"

#include "app/autosave.h"
#include "app/go_to_panel.h"
#include "calendar/day_names.h"
#include "calendar/generation.h"
#include "platform/clock.h"
#include "platform/desktop_integration.h"
#include "platform/messenger.h"
#include "records/data_file.h"
#include "records/recovery.h"
#include "search/row_lookup.h"
#include "settings/settings_file.h"
#include "widgets/icons.h"
#include "widgets/screen_centre.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHeaderView>
#include <QLayout>
#include <QShortcut>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTableView>
#include <QTimer>

#include <exception>

// The main window's creation, start-up, settings in force, today's row and closing.
// Its bars and menus, its commands and its window modes have files of their own.

TForm1::TForm1(const QString& programDir, Messenger& messenger, QWidget* parent)
    : QMainWindow(parent)
    , m_programDir(programDir)
    , m_messenger(messenger)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Zorivka"));
    setWindowIcon(icons::program());
    m_model = new DayListModel(m_table, this);
    m_autosave = new AutoSave(m_programDir, m_table, m_settings, m_messenger, this);

    createToolBar();
    createCentralArea();
    createStatusBar();
    createMenus();
    createTrayIcon();

    // The go-to-today step looks again whenever the rows change, until it finds today.
    connect(&m_table, &DayTable::rowsInserted, this, &TForm1::scheduleGoToToday);
    connect(&m_table, &DayTable::rowsRemoved, this, &TForm1::scheduleGoToToday);
    connect(&m_table, &DayTable::resetDone, this, &TForm1::scheduleGoToToday);
    connect(&m_table, &DayTable::rowChanged, this, &TForm1::scheduleGoToToday);
    // Holidays are marked in every year of the list, whoever changed it.
    connect(&m_table, &DayTable::listsChanged, this, &TForm1::followYearList);
    m_midnight = new QTimer(this);
    m_midnight->setSingleShot(true);
    connect(m_midnight, &QTimer::timeout, this, [this] {
        scheduleGoToToday();
        armMidnight();
    });

    // Only while the option is on, so that Esc otherwise reaches the controls.
    m_escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    m_escape->setEnabled(false);
    connect(m_escape, &QShortcut::activated, this, &QWidget::close);
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this] { snastaveni(); });

    resize(kDesignClientWidth, kDesignClientHeight);
    FormCreate();
    // What start-up loaded or built is no change; what the user does from now on is.
    m_autosave->watchTable();
    connect(this, &TForm1::settingsChanged, m_autosave, &AutoSave::changed);
}

TForm1::~TForm1()
{
    // The members (the day table above all) go before the QWidget base, which hides
    // the children and lets the list ask its model once more: the widgets go first.
    delete takeCentralWidget();
}

// ---- start-up -------------------------------------------------------------

void TForm1::FormCreate()
{
    // The record, holiday, year and day-count lists are members made with the window.
    kontrolaClick();
}

void TForm1::kontrolaClick()
{
    try {
        if (data_file::exists(m_programDir)) {
            loadSettings();
            m_state.stavnacteni = QStringLiteral("ano");
            m_autosave->setDamagedDataFile(
                data_file::LoadData(m_programDir, m_table, m_messenger) != data_file::LoadResult::Whole);
            m_state.data = QStringLiteral("vytvorena");
        } else {
            m_table.setLists({ QStringLiteral("2004") }, { QStringLiteral("366") });
        }
        m_state.stavnastaveni = QStringLiteral("výchozí");
        if (m_state.data != u"vytvorena")
            generateFirstYear();
        m_settings.jdiokno = false;
        showGoToPanel(false);
        m_settings.pocetdni = QStringLiteral("366");
        m_settings.pocetnroku = QStringLiteral("1");
        if (m_state.stavnacteni == u"ano") {
            loadSettings();
            recoverEmptyTable();
            buildListColumns();
        }
        m_state.nastaveni = QStringLiteral("ok");
        applySettings();
        Button1Click();
        writeRangePanels();
    } catch (const std::exception& error) {
        m_messenger.show(
            Messenger::Icon::Error, QStringLiteral("Chyba"), QString::fromLocal8Bit(error.what()));
    }
}

void TForm1::loadSettings()
{
    reportRebuiltLists(settings_file::load(m_programDir, m_settings, m_table));
    m_state.stavnastaveni = QStringLiteral("načtené");
    // The start-up check loads twice and applies the result once, when it has finished.
}

void TForm1::recoverEmptyTable()
{
    // Without a single row every close would refuse to save, and the user could
    // never get the calendar back.
    if (!recovery::fillEmptyTable(m_table, m_settings))
        return;
    m_messenger.show(Messenger::Icon::Information, QStringLiteral("Informace"),
        QStringLiteral("Soubor „data.zrk“ neobsahoval žádný celý záznam. Kalendář byl proto vytvořen znovu "
                       "pro roky 2004 až %1, bez akcí.")
            .arg(m_settings.doroku));
}

void TForm1::generateFirstYear()
{
    // The first run's columns are the settings' defaults: Den, Datum, Hod., Akce.
    buildListColumns();
    m_state.data = QStringLiteral("vytvorena");
    if (generation::buildFirstYearTable(m_table, m_messenger))
        m_state.nastaveni = QStringLiteral("ok");
}

void TForm1::buildListColumns()
{
    const int count = m_settings.columnCount();
    QStringList titles;
    for (int k = 0; k < count; ++k)
        titles << m_settings.items[static_cast<size_t>(k)].title;
    m_model->setColumns(titles);
    for (int k = 0; k < count; ++k)
        m_list->horizontalHeader()->resizeSection(k, m_settings.width(k));
}

void TForm1::removeListColumns(int count)
{
    m_state.SpinEdit1 = count - 1;
    for (int i = 0; i < count; ++i) {
        m_model->removeColumnAt(m_state.SpinEdit1);
        --m_state.SpinEdit1;
    }
}

void TForm1::writeRangePanels()
{
    setStatusText(1, QStringLiteral("Od roku: 2004"));
    setStatusText(2, QStringLiteral("Do roku: ") + m_settings.doroku);
    setStatusText(3, QStringLiteral("Počet roků: ") + m_settings.pocetnroku);
}

// ---- settings in force ----------------------------------------------------

void TForm1::applySettings()
{
    syncDisplay();
    m_list->setShowGrid(m_settings.mrizka);
    m_looks.rebuild(m_settings, m_list->font());
    m_model->setAppearance(m_looks, holidayYears(), m_state.nastaveni == u"ok");
    for (int k = 0; k < m_model->columnCount(); ++k)
        m_model->setColumnTitle(k, m_settings.items[static_cast<size_t>(k)].title);
    m_autostartAction->setChecked(m_settings.start);
    m_escape->setEnabled(m_settings.esc);
    showGoToPanel(m_settings.jdiokno);
    layoutColumns();
    emit settingsChanged();
}

holidays::Years TForm1::holidayYears() const
{
    QStringList years;
    if (m_state.stavnastaveni == u"výchozí")
        years << QStringLiteral("2004");
    else if (m_state.stavnastaveni == u"načtené")
        years = m_table.years();
    return holidays::Years(years);
}

void TForm1::followYearList()
{
    m_model->setAppearance(m_looks, holidayYears(), m_state.nastaveni == u"ok");
}

void TForm1::syncDisplay()
{
    // The tray asks the desktop for its tray: the first frame does not wait for that.
    if (m_shownOnce)
        m_trayIcon->setVisible(m_settings.ikona);
    statusBar()->setVisible(m_settings.statusbar);
}

void TForm1::showGoToPanel(bool shown)
{
    if (shown)
        goToPanel();
    m_goToPanel->setVisible(shown);
}

GoToPanel* TForm1::goToPanel()
{
    if (!m_goTo) {
        m_goTo = new GoToPanel(*this, m_messenger, m_goToPanel);
        m_goToPanel->layout()->addWidget(m_goTo);
    }
    return m_goTo;
}

void TForm1::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (m_shownOnce)
        return;
    m_shownOnce = true;
    centreOnScreen(*this);
    scheduleGoToToday();
    armMidnight();
    QTimer::singleShot(0, this, [this] {
        if (isVisible())
            m_trayIcon->setVisible(m_settings.ikona);
    });
}

// ---- today's row ----------------------------------------------------------

void TForm1::scheduleGoToToday()
{
    if (!m_shownOnce || m_goToTodayQueued || m_state.data != u"vytvorena")
        return;
    m_goToTodayQueued = true;
    QTimer::singleShot(0, this, &TForm1::goToToday);
}

void TForm1::armMidnight()
{
    if (m_state.data != u"vytvorena") {
        m_midnight->stop();
        return;
    }
    const QDateTime now = clock_source::now();
    const QDateTime midnight(now.date().addDays(1), QTime(0, 0, 1));
    m_midnight->start(
        static_cast<int>(qBound(qint64(1000), now.msecsTo(midnight), qint64(24 * 3600 * 1000))));
}

void TForm1::goToToday()
{
    m_goToTodayQueued = false;
    if (m_state.data != u"vytvorena")
        return;
    m_state.DateEdit1 = clock_source::today();
    // Only the first run: later runs would overwrite the date the user chose there.
    if (!m_goToTodayRan && m_goTo)
        m_goTo->setDate(m_state.DateEdit1);
    m_goToTodayRan = true;
    const int row = row_lookup::dayRowWithDate(m_table, day_names::dateText(m_state.DateEdit1));
    if (row < 0)
        return;
    const int rows = m_table.rowCount();
    selectRow(rows > row + 30 ? row + 30 : rows - 1);
    selectRow(row);
    m_state.data = QStringLiteral("data");
    m_midnight->stop();
    showRecordNumber(row);
}

// ---- closing --------------------------------------------------------------

void TForm1::snastaveni()
{
    m_autosave->saveAtClose();
}

void TForm1::closeEvent(QCloseEvent* event)
{
    snastaveni();
    m_trayIcon->hide();
    event->accept();
}
