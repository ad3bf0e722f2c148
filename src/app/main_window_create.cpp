#include "app/main_window.h"

#include "widgets/icons.h"

#include <QAction>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

// The main window's toolbar, go-to strip, day list, status bar, menus and tray icon.

namespace {
constexpr int kPanelWidths[4] = { 150, 104, 104, 70 };
// Between the status panels; with the bar's own 2-pixel edge on the left, 2 pixels
// stay free on the right of a 441-pixel window.
constexpr int kPanelGap = 3;
constexpr int kToolBarHeight = 34;
constexpr int kGoToPanelHeight = 32; // the 31-pixel strip and the line under it
} // namespace

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
    clearRecordNumber();
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
    add(m_recordMenu, QStringLiteral("Importovat1"), QStringLiteral("Importovat..."), QIcon(),
        &TForm1::importEvents);
    add(m_recordMenu, QStringLiteral("Tisk1"), QStringLiteral("Tisk..."), QIcon(), &TForm1::printPages);
    add(m_recordMenu, QStringLiteral("UlozitjakoPDF1"), QStringLiteral("Uložit jako PDF..."), QIcon(),
        &TForm1::savePdf);
    add(m_recordMenu, QStringLiteral("Publikovat1"), QStringLiteral("Publikovat..."), QIcon(),
        &TForm1::publishEvents);

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
