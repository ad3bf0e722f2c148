#include "app/main_window.h"

#include "app/screen_centre.h"
#include "app/autosave.h"
#include "about/about_box.h"
#include "app/go_to_panel.h"
#include "app/icons.h"
#include "platform/messenger.h"
#include "calendar/day_names.h"
#include "calendar/generation.h"
#include "calendar/overview_files.h"
#include "platform/clock.h"
#include "platform/desktop_integration.h"
#include "platform/desktop_shell_open.h"
#include "records/data_file.h"
#include "records/deleting.h"
#include "records/record_dialogs.h"
#include "records/recovery.h"
#include "search/row_lookup.h"
#include "search/search_window.h"
#include "settings/settings_dialog.h"
#include "settings/settings_file.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QShortcut>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <exception>

namespace {
const QString kRecordNumber = QStringLiteral("Č. záznamu: ");
const QString kNeedsSelection = QStringLiteral("Musíte mít označený záznam");
const QString kFileError = QStringLiteral("Chyba při vytváření souboru");
constexpr int kPanelWidths[4] = { 150, 104, 104, 70 };
// Between the status panels; with the bar's own 2-pixel edge on the left, 2 pixels
// stay free on the right of a 441-pixel window.
constexpr int kPanelGap = 3;
constexpr int kToolBarHeight = 34;
constexpr int kGoToPanelHeight = 32; // the 31-pixel strip and the line under it
} // namespace

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

TForm1::~TForm1() = default;

// ---- creation -------------------------------------------------------------

QToolButton* TForm1::addToolButton(int number, const QString& hint, icons::Picture picture)
{
    if (number > 1)
        m_toolBar->addSeparator();
    auto* button = new QToolButton(m_toolBar);
    button->setObjectName(QStringLiteral("ToolButton%1").arg(number));
    button->setToolTip(hint);
    button->setAccessibleName(hint);
    button->setIcon(icons::picture(picture));
    button->setIconSize(QSize(24, 24));
    button->setFixedSize(31, 32);
    button->setAutoRaise(true);
    m_toolBar->addWidget(button);
    return button;
}

void TForm1::createToolBar()
{
    using icons::Picture;
    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("ToolBar1"));
    m_toolBar->setAccessibleName(QStringLiteral("Nástroje"));
    m_toolBar->setMovable(false);
    m_toolBar->setFloatable(false);
    m_toolBar->setFixedHeight(kToolBarHeight);
    m_toolBar->setContextMenuPolicy(Qt::PreventContextMenu);
    addToolBar(Qt::TopToolBarArea, m_toolBar);

    const auto add = [this](int number, const QString& hint, icons::Picture picture, auto slot) {
        connect(addToolButton(number, hint, picture), &QToolButton::clicked, this, slot);
    };
    add(1, QStringLiteral("Nový záznam"), Picture::NewRecord, &TForm1::newRecord);
    add(2, QStringLiteral("Editovat záznam"), Picture::EditRecord, &TForm1::editRecord);
    add(3, QStringLiteral("Smazat záznam"), Picture::DeleteRecord, &TForm1::deleteRecord);
    add(4, QStringLiteral("Smazat vše"), Picture::DeleteAll, &TForm1::deleteAll);
    add(5, QStringLiteral("Jdi na..."), Picture::GoTo, &TForm1::ToolButton5Click);
    add(6, QStringLiteral("Hledat..."), Picture::Search, &TForm1::search);
    add(7, QStringLiteral("Nastavení programu"), Picture::Settings, &TForm1::openSettings);
    add(8, QStringLiteral("Nápověda o programu"), Picture::About, &TForm1::about);
    add(9, QStringLiteral("Konec programu"), Picture::Exit, &QWidget::close);
}

void TForm1::createCentralArea()
{
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    // The go-to strip; its controls belong to the go-to panel.
    m_goToPanel = new QWidget(central);
    m_goToPanel->setObjectName(QStringLiteral("Panel1"));
    m_goToPanel->setAccessibleName(QStringLiteral("Jdi na"));
    m_goToPanel->setFixedHeight(kGoToPanelHeight);
    m_goToPanel->setLayout(new QHBoxLayout);
    m_goToPanel->layout()->setContentsMargins(4, 0, 4, 1);
    m_goToPanel->hide();
    layout->addWidget(m_goToPanel);

    m_list = new QTableView(central);
    m_list->setObjectName(QStringLiteral("ListView1"));
    m_list->setAccessibleName(QStringLiteral("Seznam dní"));
    m_list->setModel(m_model);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setWordWrap(false);
    m_list->setCornerButtonEnabled(false);
    m_list->setShowGrid(false);
    m_list->verticalHeader()->hide();
    m_list->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_list->verticalHeader()->setDefaultSectionSize(m_list->fontMetrics().height() + 4);
    m_list->horizontalHeader()->setSectionsClickable(false);
    m_list->horizontalHeader()->setSectionsMovable(false);
    m_list->horizontalHeader()->setHighlightSections(false);
    m_list->horizontalHeader()->setStretchLastSection(false);
    m_list->horizontalHeader()->setMinimumSectionSize(1);
    // The selection stays visible when the list loses the focus.
    QPalette palette = m_list->palette();
    palette.setColor(
        QPalette::Inactive, QPalette::Highlight, palette.color(QPalette::Active, QPalette::Highlight));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
        palette.color(QPalette::Active, QPalette::HighlightedText));
    m_list->setPalette(palette);
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    // The keyboard starts in the list, not on the first toolbar button.
    m_list->setFocus();
    connect(m_list, &QTableView::clicked, this, &TForm1::ListView1Click);
    connect(m_list, &QTableView::doubleClicked, this, &TForm1::ListView1DblClick);
    connect(m_list, &QTableView::customContextMenuRequested, this,
        [this](const QPoint& pos) { m_recordMenu->popup(m_list->viewport()->mapToGlobal(pos)); });
    // Columns 4 to 6 may be dragged but go back to their set width at once, as the
    // column layout holds them; only the stretching column follows the window.
    connect(
        m_list->horizontalHeader(), &QHeaderView::sectionResized, this, [this](int column, int, int size) {
            QHeaderView* header = m_list->horizontalHeader();
            if (column < 3 || header->sectionResizeMode(column) == QHeaderView::Stretch
                || m_state.stavtimeru7 != u"ON")
                return;
            const int set = m_settings.width(column);
            if (size != set)
                header->resizeSection(column, set);
        });
    layout->addWidget(m_list, 1);

    auto* line = new QFrame(central);
    line->setObjectName(QStringLiteral("Shape1"));
    line->setFixedHeight(3);
    line->setAutoFillBackground(true);
    QPalette black = line->palette();
    black.setColor(QPalette::Window, Qt::black);
    line->setPalette(black);
    layout->addWidget(line);

    setCentralWidget(central);
}

void TForm1::createStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(false);
    // The panels sit in a row of their own, so the bar's spacing cannot push them
    // apart unevenly or the last one past the window's edge.
    auto* row = new QWidget(bar);
    row->setObjectName(QStringLiteral("StatusPanels"));
    auto* panels = new QHBoxLayout(row);
    panels->setContentsMargins(0, 0, 0, 0);
    panels->setSpacing(kPanelGap);
    for (int i = 0; i < 4; ++i) {
        auto* panel = new QLabel(row);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        panel->setAlignment(Qt::AlignCenter);
        panel->setFixedWidth(kPanelWidths[i]);
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        // The panels keep their narrow widths; a smaller face lets "Počet roků: 97" fit.
        QFont small = panel->font();
        small.setPointSizeF(small.pointSizeF() * 0.85);
        panel->setFont(small);
        panels->addWidget(panel);
        m_panels[i] = panel;
    }
    panels->addStretch(1);
    bar->addWidget(row, 1);
    setStatusText(0, kRecordNumber);
}

void TForm1::createMenus()
{
    using icons::Picture;
    m_recordMenu = new QMenu(this);
    m_recordMenu->setObjectName(QStringLiteral("PopupMenu1"));
    const auto add
        = [this](QMenu* menu, const QString& name, const QString& text, const QIcon& icon, auto slot) {
              QAction* action = menu->addAction(icon, text);
              action->setObjectName(name);
              connect(action, &QAction::triggered, this, slot);
              return action;
          };
    add(m_recordMenu, QStringLiteral("Novyzaznam1"), QStringLiteral("Nový záznam"),
        icons::picture(Picture::NewRecord), &TForm1::newRecord);
    add(m_recordMenu, QStringLiteral("Editovatzaznam1"), QStringLiteral("Editovat záznam"),
        icons::picture(Picture::EditRecord), &TForm1::editRecord);
    add(m_recordMenu, QStringLiteral("Smazatzaznam1"), QStringLiteral("Smazat záznam"),
        icons::picture(Picture::DeleteRecord), &TForm1::deleteRecord);
    m_recordMenu->addSeparator();
    add(m_recordMenu, QStringLiteral("Smazatvse1"), QStringLiteral("Smazat vše"),
        icons::picture(Picture::DeleteAll), &TForm1::deleteAll);
    m_recordMenu->addSeparator();
    add(m_recordMenu, QStringLiteral("Prejdina1"), QStringLiteral("Jdi na..."), icons::picture(Picture::GoTo),
        &TForm1::toggleGoToPanel);
    add(m_recordMenu, QStringLiteral("Hledat1"), QStringLiteral("Hledat..."), icons::picture(Picture::Search),
        &TForm1::search);
    m_recordMenu->addSeparator();
    add(m_recordMenu, QStringLiteral("Exportovat1"), QStringLiteral("Exportovat..."),
        icons::picture(Picture::Export), &TForm1::exportEvents);

    m_trayMenu = new QMenu(this);
    m_trayMenu->setObjectName(QStringLiteral("PopupMenu2"));
    add(m_trayMenu, QStringLiteral("napoveda"), QStringLiteral("Nápověda o programu"),
        icons::picture(Picture::About), &TForm1::about);
    m_autostartAction = add(m_trayMenu, QStringLiteral("spusteni"), QStringLiteral("Automatické spuštění"),
        QIcon(), &TForm1::toggleAutostart);
    m_autostartAction->setCheckable(true);
    m_trayMenu->addSeparator();
    add(m_trayMenu, QStringLiteral("Konecprogramu1"), QStringLiteral("Konec programu"),
        icons::picture(Picture::Exit), &QWidget::close);
}

void TForm1::createTrayIcon()
{
    m_trayIcon = new QSystemTrayIcon(icons::program(), this);
    m_trayIcon->setObjectName(QStringLiteral("TrayIcon1"));
    m_trayIcon->setToolTip(QStringLiteral("Zorivka"));
    m_trayIcon->setContextMenu(m_trayMenu);
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
    while (m_model->columnCount() > 0)
        m_model->removeColumnAt(m_model->columnCount() - 1);
    for (int k = 0; k < count; ++k) {
        m_model->appendColumn(m_settings.items[static_cast<size_t>(k)].title);
        m_list->horizontalHeader()->resizeSection(k, m_settings.width(k));
    }
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

// ---- window modes ---------------------------------------------------------

void TForm1::layoutColumns()
{
    if (m_state.stavtimeru7 != u"ON" || isMinimized())
        return;
    QHeaderView* header = m_list->horizontalHeader();
    const int count = m_model->columnCount();
    const bool ready = m_state.nastaveni == u"ok";
    const bool maximised = isMaximized() || isFullScreen();
    for (int k = 0; k < count; ++k) {
        // Columns 1 to 3 are locked; maximised with five columns, column 4 is held too.
        const bool locked = ready && (k < 3 || (maximised && count == 5 && k == 3));
        const bool stretches = maximised && k == count - 1 && k >= 3;
        header->setSectionResizeMode(
            k, stretches ? QHeaderView::Stretch : (locked ? QHeaderView::Fixed : QHeaderView::Interactive));
        if (!stretches)
            header->resizeSection(k, m_settings.width(k));
    }
    m_state.okno = maximised ? QStringLiteral("max") : QStringLiteral("normal");
    Button1Click();
}

void TForm1::Button1Click()
{
    if (isMaximized() || isMinimized() || isFullScreen() || m_inWidthCheck)
        return;
    // The border is fixed: in the normal mode the height stays the design height too.
    if (width() != kNormalClientWidth || height() != kDesignClientHeight) {
        m_inWidthCheck = true;
        resize(kNormalClientWidth, kDesignClientHeight);
        m_inWidthCheck = false;
    }
}

void TForm1::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        QTimer::singleShot(0, this, &TForm1::layoutColumns);
}

void TForm1::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    // The border is fixed: in the normal mode the window snaps back to its width.
    if (!m_inWidthCheck)
        QTimer::singleShot(0, this, &TForm1::layoutColumns);
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

// ---- selection and clicks -------------------------------------------------

void TForm1::selectRow(int row)
{
    if (row < 0 || row >= m_model->rowCount())
        return;
    QItemSelectionModel* selection = m_list->selectionModel();
    selection->clearSelection();
    const QModelIndex index = m_model->index(row, 0);
    selection->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_list->scrollTo(index);
    m_list->setFocus();
}

int TForm1::selectedRow() const
{
    const QModelIndexList rows = m_list->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void TForm1::prohledatClick()
{
    if (m_state.pocet.isEmpty())
        return;
    const int row = row_lookup::dayRowWithDate(m_table, m_state.pocet.first());
    if (row < 0)
        return;
    selectRow(row);
    m_state.pocet = QStringList { QString::number(row) };
}

void TForm1::ListView1Click()
{
    const int row = selectedRow();
    if (row >= 0 && row != m_table.rowCount() - 1)
        showRecordNumber(row);
}

void TForm1::ListView1DblClick()
{
    const int row = selectedRow();
    if (row >= 0 && row != m_table.rowCount() - 1)
        openDialog(Dialog::EditRecord);
}

void TForm1::setStatusText(int panel, const QString& text)
{
    m_panels[panel]->setText(text);
    m_panels[panel]->setAccessibleName(text);
}

void TForm1::showRecordNumber(int row)
{
    setStatusText(0, kRecordNumber + QString::number(row + 1));
}

QString TForm1::statusText(int panel) const
{
    return m_panels[panel]->text();
}

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
