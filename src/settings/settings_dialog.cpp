#include "settings/settings_dialog.h"

#include "calendar/day_names.h"
#include "calendar/day_table.h"
#include "calendar/generation.h"
#include "calendar/overview_files.h"
#include "platform/desktop_integration.h"
#include "platform/messenger.h"
#include "settings/column_page.h"
#include "settings/general_page.h"
#include "settings/settings_file.h"
#include "settings/style_pages.h"
#include "widgets/main_form.h"
#include "widgets/main_state.h"
#include "widgets/screen_centre.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <array>
#include <exception>

namespace {

const QString kError = QStringLiteral("Chyba");
const QString kPageCaptions[4] = { QStringLiteral("Obecné nastavení"), QStringLiteral("Nastavení barev"),
    QStringLiteral("Možnosti zobrazení"), QStringLiteral("Nastavení sloupců") };

QString autostartError(DesktopIntegration::AutostartResult result)
{
    switch (result) {
    case DesktopIntegration::AutostartResult::KeyNotOpened:
        return QStringLiteral("Chyba při otevírání klíče registrů.");
    case DesktopIntegration::AutostartResult::ValueNotWritten:
        return QStringLiteral("Chyba při zápisu do registrů.");
    case DesktopIntegration::AutostartResult::Done:
        break;
    }
    return {};
}

} // namespace

// ---- opening --------------------------------------------------------------

void Tnastav::open(MainForm& window, Messenger& messenger)
{
    MainState& state = window.state();
    Tnastav dialog(window, messenger, window.mainWidget());
    if (!dialog.readLists()) {
        messenger.show(Messenger::Icon::Error, kError, QStringLiteral("Při otevírání souboru nastala chyba"));
        state.pocet.clear();
        return;
    }
    dialog.transferIn();
    if (dialog.exec() == QDialog::Accepted) {
        dialog.finishOk();
    } else {
        state.pocet.clear();
    }
    // Whatever stopped "Ok" half-way, the column layout must not stay suspended.
    if (state.stavtimeru7 != u"ON") {
        state.stavtimeru7 = QStringLiteral("ON");
        window.applySettings();
    }
}

Tnastav::Tnastav(MainForm& window, Messenger& messenger, QWidget* parent)
    : QDialog(parent)
    , m_window(window)
    , m_messenger(messenger)
{
    setObjectName(QStringLiteral("nastav"));
    setWindowTitle(QStringLiteral("Nastavení programu"));
    setModal(true);
    // The form was laid out for a small face: everything fits the fixed size with it.
    QFont small = font();
    small.setPointSizeF(small.pointSizeF() * 0.9);
    setFont(small);
    createPages();
    setFixedSize(432, 456);
}

Tnastav::~Tnastav() = default;

void Tnastav::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // The middle of the screen, wherever the main window stands.
    if (!m_placed) {
        m_placed = true;
        centreOnScreen(*this);
    }
}

bool Tnastav::readLists()
{
    if (overview_files::load(m_window.programDir(), m_years, m_dayCounts)
        != overview_files::LoadResult::Loaded)
        return false;
    m_range.start(m_years, m_dayCounts);
    return true;
}

int Tnastav::formatIndex() const
{
    return day_names::formatIndex(m_work.format);
}

// ---- creation -------------------------------------------------------------

void Tnastav::createPages()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 6);
    layout->setSpacing(6);
    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("PageControl1"));
    // All four captions stay in view in the fixed width.
    m_pages->setUsesScrollButtons(false);
    QFont tabFont = font();
    tabFont.setPointSizeF(tabFont.pointSizeF() * 0.9);
    m_pages->tabBar()->setFont(tabFont);
    m_pages->tabBar()->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 3px 4px; }"));
    m_general = new GeneralPage(m_work, m_range, m_window.desktopIntegration(), m_messenger, m_pages);
    m_pages->addTab(m_general, kPageCaptions[0]);
    connect(m_general, &GeneralPage::formatChanged, this, &Tnastav::formatChanged);
    connect(m_general, &GeneralPage::gridLinesChanged, this, &Tnastav::gridLinesChanged);
    createStylePages();
    connect(m_pages, &QTabWidget::currentChanged, this, &Tnastav::pageChanged);
    layout->addWidget(m_pages, 1);

    const auto button = [this](const char* name, const QString& caption) {
        auto* result = new QPushButton(caption, this);
        result->setObjectName(QString::fromLatin1(name));
        result->setAccessibleName(caption);
        result->setAutoDefault(false);
        return result;
    };
    auto* buttons = new QHBoxLayout;
    QPushButton* defaults = button("vychozinastaveni", QStringLiteral("Výchozí nastavení"));
    QPushButton* ok = button("Button53", QStringLiteral("Ok"));
    QPushButton* cancel = button("Button41", QStringLiteral("Zrušit"));
    connect(defaults, &QPushButton::clicked, this, &Tnastav::restoreDefaults);
    connect(ok, &QPushButton::clicked, this, &Tnastav::Button53Click);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(defaults);
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
}

void Tnastav::createStylePages()
{
    // Made inside the dialog, so that they measure their controls in its face.
    auto* columns = new ColumnPage(m_work, m_messenger, this);
    const std::array<StylePage*, 3> pages { new ColourPage(m_work, this), new DisplayPage(m_work, this),
        columns };
    for (int i = 0; i < 3; ++i) {
        StylePage* page = pages[static_cast<size_t>(i)];
        page->setObjectName(QStringLiteral("TabSheet%1").arg(i + 2));
        m_pages->addTab(page, kPageCaptions[i + 1]);
        // A new working copy (the transfer in, "Výchozí nastavení") reaches every control.
        connect(this, &Tnastav::transferredIn, page, &StylePage::load);
        connect(this, &Tnastav::defaultsRestored, page, &StylePage::load);
        connect(this, &Tnastav::formatChanged, page, &StylePage::refreshPreview);
        connect(this, &Tnastav::gridLinesChanged, page, &StylePage::refreshPreview);
        connect(this, &Tnastav::pageChanged, page, &StylePage::refreshPreview);
    }
    connect(this, &Tnastav::pageChanged, columns, &ColumnPage::showColumnRows);
}

QWidget* Tnastav::page(int index) const
{
    return m_pages->widget(index);
}

// ---- transfer -------------------------------------------------------------

void Tnastav::transferIn()
{
    const Settings& source = m_window.settings();
    m_work = source;
    m_pocet1 = source.pocets;
    m_range.pocetnroku = source.pocetnroku;
    m_range.pocetdni = source.pocetdni;
    m_range.pocetdnilabel = source.pocetdni;
    m_range.doroku = source.doroku;
    m_range.hodnota = source.h1;
    m_range.pochodnota = source.h2;
    m_general->load();
    emit transferredIn();
}

void Tnastav::transferOut(Settings& target) const
{
    target.items = m_work.items;
    target.format = m_work.format;
    target.pocets = m_work.pocets;
    GeneralPage::copyOptions(m_work, target);
    target.pocetnroku = m_range.pocetnroku;
    target.pocetdni = m_range.pocetdni;
    target.doroku = m_range.doroku;
}

void Tnastav::restoreDefaults()
{
    m_general->restoreDefaults();
    // The row looks and the columns too: four columns, without the count's message.
    const Settings defaults;
    m_work.items = defaults.items;
    m_work.pocets = defaults.pocets;
    emit defaultsRestored();
}

// ---- "Ok" -----------------------------------------------------------------

void Tnastav::Button53Click()
{
    Settings& settings = m_window.settings();
    try {
        if (m_work.pocets != m_pocet1)
            applyColumnCount();
        if (m_general->formatkontrola() != m_work.format)
            generation::rebuildWithFormat(m_window.table(), m_work.format, m_messenger);
        if (m_range.zmena == u"ano")
            appendAddedYears();
        settings.h1 = m_range.hodnota;
        m_range.pochodnota = m_range.hodnota;
        settings.h2 = m_range.pochodnota;
        transferOut(settings);
        // A failure here is reported once everything else is done, so that the rows,
        // the year list and the files agree whatever happens to the entry.
        if (DesktopIntegration* services = m_window.desktopIntegration())
            m_autostartError = autostartError(services->setAutostart(m_work.start));
        handBackLists();
        m_window.state().stavnastaveni = QStringLiteral("načtené");
        m_window.repaintList();
    } catch (const std::exception& error) {
        m_messenger.show(Messenger::Icon::Error, kError, QString::fromLocal8Bit(error.what()));
    }
    accept();
}

void Tnastav::applyColumnCount()
{
    // The column layout waits until the main window has its new columns.
    m_window.state().stavtimeru7 = QStringLiteral("OFF");
    Settings& settings = m_window.settings();
    m_window.removeListColumns(settings.columnCount());
    for (int k = 0; k < m_work.columnCount(); ++k) {
        RowItem& item = settings.items[static_cast<size_t>(k)];
        item.title = m_work.items[static_cast<size_t>(k)].title;
        item.width = m_work.items[static_cast<size_t>(k)].width;
    }
    settings.pocets = m_work.pocets;
    m_window.buildListColumns();
}

void Tnastav::appendAddedYears()
{
    // Exactly the years the dialog gained, whatever the stored counters say.
    const int added = m_range.yearsGained();
    for (int i = 0; i < added; ++i) {
        generation::addNextYear(m_years, m_dayCounts);
        generation::appendYearRows(m_window.table(), m_years, m_work.format, m_messenger);
    }
}

void Tnastav::handBackLists()
{
    if (overview_files::save(m_window.programDir(), m_years, m_dayCounts)) {
        m_window.loadnClick();
        return;
    }
    // The files still hold the old range: the new rows keep the lists that describe them.
    m_messenger.show(Messenger::Icon::Error, kError, QStringLiteral("Chyba při vytváření souboru"));
    m_window.table().setLists(m_years, m_dayCounts);
    settings_file::agreeWithLists(m_window.settings(), m_years, m_dayCounts);
}

void Tnastav::finishOk()
{
    MainState& state = m_window.state();
    m_window.repaintList();
    m_window.selectRow(state.pocet.isEmpty() ? -1 : state.pocet.first().toInt());
    state.pocet.clear();
    m_window.Button1Click();
    state.stavtimeru7 = QStringLiteral("ON");
    // The column layout did nothing while it was suspended; now the window follows.
    m_window.applySettings();
    m_window.writeRangePanels();
    m_window.layoutColumns();
    if (!m_autostartError.isEmpty())
        m_messenger.show(Messenger::Icon::Error, kError, m_autostartError);
}
