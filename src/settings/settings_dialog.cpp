#include "settings/settings_dialog.h"

#include "app/screen_centre.h"
#include "app/bold_label.h"
#include "app/main_window.h"
#include "calendar/day_names.h"
#include "calendar/generation.h"
#include "calendar/overview_files.h"
#include "platform/clock.h"
#include "platform/desktop_integration.h"
#include "platform/messenger.h"
#include "settings/settings_file.h"
#include "settings/style_pages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include <exception>

namespace {

const QString kActivated = QStringLiteral("Aktivováno");
const QString kCancelled = QStringLiteral("Zrušeno");
const QString kDefault = QStringLiteral("Výchozí");
const QString kError = QStringLiteral("Chyba");
const QColor kNavy(0, 0, 128);

// The five general options: caption, check box, state label, the field they edit and
// what their own "Výchozí" button sets.
struct OptionEntry {
    const char16_t* caption;
    const char* box;
    const char* text;
    bool Settings::*field;
    bool byDefault;
};
constexpr OptionEntry kOptions[Tnastav::kOptionCount] = {
    { u"Spuštění programu po startu Windows:", "start", "starttext", &Settings::start, true },
    { u"Zobrazit mřížku mezi záznamy:", "mrizka", "mrizkatext", &Settings::mrizka, false },
    { u"Zavírání programu na ESC:", "esc", "esctext", &Settings::esc, true },
    { u"Zobrazit ikonku v liště ( u hodin ):", "ikona", "ikonatext", &Settings::ikona, false },
    { u"Zobrazit stavový řádek:", "statusbar", "statusbartext", &Settings::statusbar, false },
};
constexpr int kGridOption = 1;

const QString kPageCaptions[4] = { QStringLiteral("Obecné nastavení"), QStringLiteral("Nastavení barev"),
    QStringLiteral("Možnosti zobrazení"), QStringLiteral("Nastavení sloupců") };

QLabel* sectionCaption(const QString& text, QWidget* parent)
{
    return makeBoldLabel(text, kNavy, parent);
}

// Values of the year section and the state labels: bold and red. A value is never
// its caption's buddy (that would name it by the caption alone): screen readers read
// caption and value together ("Do roku: 2005") and hear the value change.
const char kCaptionProperty[] = "caption";

QLabel* valueLabel(const QString& caption, const QString& name, QWidget* parent)
{
    QLabel* label = makeBoldLabel(QString(), Qt::red, parent);
    label->setObjectName(name);
    label->setProperty(kCaptionProperty, caption);
    return label;
}

void showValue(QLabel* value, const QString& text)
{
    value->setText(text);
    value->setAccessibleName(value->property(kCaptionProperty).toString() + u' ' + text);
}

// A caption and its value on one row of a grid.
QLabel* addValue(QGridLayout* grid, QWidget* parent, int row, const QString& caption, const QString& name)
{
    QLabel* value = valueLabel(caption, name, parent);
    grid->addWidget(new QLabel(caption, parent), row, 0);
    grid->addWidget(value, row, 1);
    return value;
}

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

QPushButton* button(const QString& name, const QString& caption, QWidget* parent)
{
    auto* result = new QPushButton(caption, parent);
    result->setObjectName(name);
    result->setAccessibleName(caption);
    result->setAutoDefault(false);
    return result;
}

// The day-name picker's entries are drawn by the program: each name on a white row
// in the list's font, the chosen one in navy.
class DayNameDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        painter->save();
        painter->fillRect(option.rect, selected ? kNavy : QColor(Qt::white));
        painter->setPen(selected ? QColor(Qt::white) : QColor(Qt::black));
        painter->setFont(option.font);
        painter->drawText(option.rect.adjusted(4, 0, -4, 0), Qt::AlignVCenter | Qt::AlignLeft,
            index.data(Qt::DisplayRole).toString());
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return { QStyledItemDelegate::sizeHint(option, index).width(), option.fontMetrics.height() + 4 };
    }
};

} // namespace

// ---- opening --------------------------------------------------------------

void Tnastav::open(TForm1& window, Messenger& messenger)
{
    MainState& state = window.state();
    Tnastav dialog(window, messenger, &window);
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

Tnastav::Tnastav(TForm1& window, Messenger& messenger, QWidget* parent)
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
    // The year of today, for information only.
    m_aktualrok = day_names::dateText(clock_source::today()).section(u'.', 2);
    showValue(m_aktualrokLabel, m_aktualrok);
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
    m_pages->addTab(createGeneralPage(), kPageCaptions[0]);
    createStylePages();
    connect(m_pages, &QTabWidget::currentChanged, this, &Tnastav::pageChanged);
    layout->addWidget(m_pages, 1);

    auto* buttons = new QHBoxLayout;
    QPushButton* defaults
        = button(QStringLiteral("vychozinastaveni"), QStringLiteral("Výchozí nastavení"), this);
    QPushButton* ok = button(QStringLiteral("Button53"), QStringLiteral("Ok"), this);
    QPushButton* cancel = button(QStringLiteral("Button41"), QStringLiteral("Zrušit"), this);
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
    // Each page is a placeholder until its widget is set with setPage.
    for (int index = 1; index < 4; ++index) {
        auto* placeholder = new QWidget(m_pages);
        placeholder->setObjectName(QStringLiteral("TabSheet%1").arg(index + 1));
        m_pages->addTab(placeholder, kPageCaptions[index]);
    }
    addStylePages(*this, m_messenger);
}

void Tnastav::setPage(int index, QWidget* page)
{
    Q_ASSERT(index >= 1 && index <= 3);
    const bool current = m_pages->currentIndex() == index;
    QWidget* old = m_pages->widget(index);
    m_pages->removeTab(index);
    delete old;
    if (page->objectName().isEmpty())
        page->setObjectName(QStringLiteral("TabSheet%1").arg(index + 1));
    m_pages->insertTab(index, page, kPageCaptions[index]);
    if (current)
        m_pages->setCurrentIndex(index);
}

QWidget* Tnastav::page(int index) const
{
    return m_pages->widget(index);
}

QWidget* Tnastav::createGeneralPage()
{
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("TabSheet1"));
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(6, 4, 6, 4);
    layout->setSpacing(3);
    layout->addWidget(createOptions());
    auto* line = new QFrame(page);
    line->setObjectName(QStringLiteral("Bevel1"));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    layout->addWidget(line);
    layout->addWidget(createYearSection());
    layout->addWidget(createFormatSection());
    layout->addWidget(createShortcutSection());
    layout->addStretch(1);

    auto* note = new QLabel(QStringLiteral("! Ukázky naleznete u příslušné sekce !"), page);
    note->setObjectName(QStringLiteral("poznamka"));
    note->setAlignment(Qt::AlignCenter);
    note->setStyleSheet(QStringLiteral("QLabel { border: 1px solid red; padding: 2px; }"));
    layout->addWidget(note);
    return page;
}

QWidget* Tnastav::createOptions()
{
    auto* box = new QWidget(this);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(1);
    grid->setColumnStretch(0, 1);
    for (int i = 0; i < kOptionCount; ++i) {
        const OptionEntry& entry = kOptions[i];
        Option& option = m_options[static_cast<size_t>(i)];
        const QString caption = QString::fromUtf16(entry.caption);
        option.box = new QCheckBox(caption, box);
        option.box->setObjectName(QString::fromLatin1(entry.box));
        option.box->setLayoutDirection(Qt::RightToLeft);
        option.text = valueLabel(caption, QString::fromLatin1(entry.text), box);
        option.text->setCursor(Qt::PointingHandCursor);
        option.text->setMinimumWidth(option.text->fontMetrics().horizontalAdvance(kActivated) + 6);
        option.text->installEventFilter(this);
        QPushButton* reset
            = button(QString::fromLatin1(entry.box) + QStringLiteral("vychozi"), kDefault, box);
        reset->setAccessibleDescription(caption);
        reset->setFixedWidth(reset->fontMetrics().horizontalAdvance(kDefault) + 20);
        connect(option.box, &QCheckBox::toggled, this, [this, i] { optionChanged(i); });
        connect(reset, &QPushButton::clicked, this,
            [this, i] { m_options[static_cast<size_t>(i)].box->setChecked(kOptions[i].byDefault); });
        grid->addWidget(option.box, i, 0);
        grid->addWidget(option.text, i, 1);
        grid->addWidget(reset, i, 2);
        // The form starts as the table of options says; the transfer in follows.
        option.box->setChecked(Settings {}.*entry.field);
        optionChanged(i);
    }
    return box;
}

QWidget* Tnastav::createYearSection()
{
    auto* section = new QWidget(this);
    auto* layout = new QGridLayout(section);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setVerticalSpacing(2);
    layout->addWidget(
        sectionCaption(QStringLiteral("Nastavení roku ( počet dnů v kalendáři ):"), section), 0, 0, 1, 2);

    auto* range = new QGridLayout;
    showValue(addValue(range, section, 0, QStringLiteral("Od roku:"), QStringLiteral("odroku")),
        QString::number(generation::kFirstYear));
    m_doroku = addValue(range, section, 1, QStringLiteral("Do roku:"), QStringLiteral("doroku"));
    m_addYear = button(QStringLiteral("Button40"), QStringLiteral("Přidat rok"), section);
    connect(m_addYear, &QPushButton::clicked, this, &Tnastav::Button40Click);
    range->addWidget(m_addYear, 2, 0, 1, 2);
    range->setRowStretch(3, 1);
    layout->addLayout(range, 1, 0);

    auto* info = new QGroupBox(QStringLiteral("Informace"), section);
    info->setObjectName(QStringLiteral("GroupBox1"));
    auto* lines = new QGridLayout(info);
    lines->setContentsMargins(6, 2, 6, 4);
    lines->setVerticalSpacing(1);
    m_pocetnroku
        = addValue(lines, info, 0, QStringLiteral("Počet nastavených roků:"), QStringLiteral("pocetnroku"));
    m_pocetdni = addValue(lines, info, 1, QStringLiteral("Počet dnů:"), QStringLiteral("pocetdni"));
    m_aktualrokLabel = addValue(lines, info, 2, QStringLiteral("Aktuální rok:"), QStringLiteral("aktualrok"));
    lines->setColumnStretch(1, 1);
    layout->addWidget(info, 1, 1);
    layout->setColumnStretch(1, 1);
    return section;
}

QWidget* Tnastav::createFormatSection()
{
    auto* section = new QWidget(this);
    auto* layout = new QHBoxLayout(section);
    layout->setContentsMargins(0, 2, 0, 2);
    QLabel* caption = sectionCaption(QStringLiteral("Možnosti zobrazení dnů:"), section);
    m_format = new QComboBox(section);
    m_format->setObjectName(QStringLiteral("ComboBox1"));
    m_format->setEditable(false);
    m_format->setItemDelegate(new DayNameDelegate(m_format));
    m_format->addItems(day_names::pickerItems());
    m_format->setCurrentIndex(1);
    m_format->setAccessibleName(caption->text());
    caption->setBuddy(m_format);
    // Only a pick by the user marks the format changed.
    connect(m_format, &QComboBox::activated, this, [this](int index) { setFormat(index, true); });
    QPushButton* reset = button(QStringLiteral("formatvychozi"), kDefault, section);
    reset->setAccessibleDescription(caption->text());
    // The default is a change of format too: the rows then get the names of format 1.
    connect(reset, &QPushButton::clicked, this, [this] { setFormat(1, true); });
    layout->addWidget(caption);
    layout->addWidget(m_format, 1);
    layout->addWidget(reset);
    return section;
}

QWidget* Tnastav::createShortcutSection()
{
    auto* group = new QGroupBox(QStringLiteral("Další nastavení"), this);
    group->setObjectName(QStringLiteral("GroupBox2"));
    auto* layout = new QHBoxLayout(group);
    layout->setContentsMargins(6, 2, 6, 4);
    QPushButton* desktop
        = button(QStringLiteral("zplocha"), QStringLiteral("Vytvořit zástupce na ploše"), group);
    QPushButton* menu
        = button(QStringLiteral("zstart"), QStringLiteral("Vytvořit zástupce v nabídce Start"), group);
    connect(desktop, &QPushButton::clicked, this, [this] { createShortcut(true); });
    connect(menu, &QPushButton::clicked, this, [this] { createShortcut(false); });
    layout->addWidget(desktop);
    layout->addWidget(menu);
    return group;
}

// ---- transfer -------------------------------------------------------------

void Tnastav::transferIn()
{
    const Settings& source = m_window.settings();
    m_work = source;
    m_pocet1 = source.pocets;
    m_format->setCurrentIndex(std::max(0, day_names::formatIndex(m_work.format)));
    for (int i = 0; i < kOptionCount; ++i) {
        m_options[static_cast<size_t>(i)].box->setChecked(source.*kOptions[i].field);
        optionChanged(i);
    }
    m_range.pocetnroku = source.pocetnroku;
    m_range.pocetdni = source.pocetdni;
    m_range.pocetdnilabel = source.pocetdni;
    m_range.doroku = source.doroku;
    m_range.hodnota = source.h1;
    m_range.pochodnota = source.h2;
    showRange();
    emit transferredIn();
}

void Tnastav::transferOut(Settings& target) const
{
    target.items = m_work.items;
    target.format = m_work.format;
    target.pocets = m_work.pocets;
    for (const OptionEntry& entry : kOptions)
        target.*entry.field = m_work.*entry.field;
    target.pocetnroku = m_range.pocetnroku;
    target.pocetdni = m_range.pocetdni;
    target.doroku = m_range.doroku;
}

// ---- the first page -------------------------------------------------------

void Tnastav::optionChanged(int option)
{
    const Option& controls = m_options[static_cast<size_t>(option)];
    const bool checked = controls.box->isChecked();
    const bool changed = m_work.*kOptions[option].field != checked;
    m_work.*kOptions[option].field = checked;
    showValue(controls.text, checked ? kActivated : kCancelled);
    if (option == kGridOption && changed)
        emit gridLinesChanged(checked);
}

bool Tnastav::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        for (const Option& option : m_options) {
            if (watched == option.text) {
                option.box->toggle();
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Tnastav::setFormat(int format, bool marked)
{
    if (marked)
        m_formatkontrola = QStringLiteral("ZMĚNA");
    m_format->setCurrentIndex(format);
    m_work.format = QString::number(format);
    emit formatChanged(format);
}

void Tnastav::Button40Click()
{
    m_range.addYear();
    showRange();
}

void Tnastav::showRange()
{
    showValue(m_doroku, m_range.doroku);
    showValue(m_pocetnroku, m_range.pocetnroku);
    showValue(m_pocetdni, m_range.pocetdni);
    // At the last possible year no more years can be added while the dialog is open.
    if (m_range.atLastYear())
        m_addYear->setEnabled(false);
}

void Tnastav::createShortcut(bool desktop)
{
    DesktopIntegration* services = m_window.desktopIntegration();
    const auto place = desktop ? DesktopIntegration::Place::Desktop : DesktopIntegration::Place::StartMenu;
    if (services && services->createShortcut(place)) {
        m_messenger.show(Messenger::Icon::NoIcon, QStringLiteral("Zorivka"),
            desktop ? QStringLiteral("Zástupce na ploše byl vytvořen")
                    : QStringLiteral("Zástupce v nabídce start byl vytvořen"));
    } else {
        m_messenger.show(Messenger::Icon::Error, QStringLiteral("Zorivka"),
            QStringLiteral("Zástupce se nepodařilo vytvořit"));
    }
}

void Tnastav::restoreDefaults()
{
    const Settings defaults;
    for (int i = 0; i < kOptionCount; ++i)
        m_options[static_cast<size_t>(i)].box->setChecked(defaults.*kOptions[i].field);
    setFormat(day_names::formatIndex(defaults.format), true);
    // The row looks and the columns too: four columns, without the count's message.
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
        if (m_formatkontrola != m_work.format)
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
        m_window.listView()->viewport()->update();
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
    m_window.listView()->viewport()->update();
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
