#include "settings/general_page.h"

#include "calendar/day_names.h"
#include "calendar/generation.h"
#include "platform/clock.h"
#include "platform/desktop_integration.h"
#include "platform/messenger.h"
#include "settings/settings.h"
#include "settings/year_range.h"
#include "widgets/bold_label.h"

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
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QString kActivated = QStringLiteral("Aktivováno");
const QString kCancelled = QStringLiteral("Zrušeno");
const QString kDefault = QStringLiteral("Výchozí");
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
constexpr OptionEntry kOptions[GeneralPage::kOptionCount] = {
    { u"Spuštění programu po startu Windows:", "start", "starttext", &Settings::start, true },
    { u"Zobrazit mřížku mezi záznamy:", "mrizka", "mrizkatext", &Settings::mrizka, false },
    { u"Zavírání programu na ESC:", "esc", "esctext", &Settings::esc, true },
    { u"Zobrazit ikonku v liště ( u hodin ):", "ikona", "ikonatext", &Settings::ikona, false },
    { u"Zobrazit stavový řádek:", "statusbar", "statusbartext", &Settings::statusbar, false },
};
constexpr int kGridOption = 1;

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

GeneralPage::GeneralPage(
    Settings& working, YearRange& range, DesktopIntegration* desktop, Messenger& messenger, QWidget* parent)
    : QWidget(parent)
    , m_work(working)
    , m_range(range)
    , m_desktop(desktop)
    , m_messenger(messenger)
{
    QWidget* page = this;
    setObjectName(QStringLiteral("TabSheet1"));
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
}

QWidget* GeneralPage::createOptions()
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

QWidget* GeneralPage::createYearSection()
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
    connect(m_addYear, &QPushButton::clicked, this, &GeneralPage::Button40Click);
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
    // The year of today, for information only.
    showValue(addValue(lines, info, 2, QStringLiteral("Aktuální rok:"), QStringLiteral("aktualrok")),
        day_names::dateText(clock_source::today()).section(u'.', 2));
    lines->setColumnStretch(1, 1);
    layout->addWidget(info, 1, 1);
    layout->setColumnStretch(1, 1);
    return section;
}

QWidget* GeneralPage::createFormatSection()
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

QWidget* GeneralPage::createShortcutSection()
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

void GeneralPage::optionChanged(int option)
{
    const Option& controls = m_options[static_cast<size_t>(option)];
    const bool checked = controls.box->isChecked();
    const bool changed = m_work.*kOptions[option].field != checked;
    m_work.*kOptions[option].field = checked;
    showValue(controls.text, checked ? kActivated : kCancelled);
    if (option == kGridOption && changed)
        emit gridLinesChanged(checked);
}

bool GeneralPage::eventFilter(QObject* watched, QEvent* event)
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
    return QWidget::eventFilter(watched, event);
}

void GeneralPage::setFormat(int format, bool marked)
{
    if (marked)
        m_formatkontrola = QStringLiteral("ZMĚNA");
    m_format->setCurrentIndex(format);
    m_work.format = QString::number(format);
    emit formatChanged(format);
}

void GeneralPage::Button40Click()
{
    m_range.addYear();
    showRange();
}

void GeneralPage::showRange()
{
    showValue(m_doroku, m_range.doroku);
    showValue(m_pocetnroku, m_range.pocetnroku);
    showValue(m_pocetdni, m_range.pocetdni);
    // At the last possible year no more years can be added while the dialog is open.
    if (m_range.atLastYear())
        m_addYear->setEnabled(false);
}

void GeneralPage::createShortcut(bool desktop)
{
    DesktopIntegration* services = m_desktop;
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

void GeneralPage::load()
{
    m_format->setCurrentIndex(std::max(0, day_names::formatIndex(m_work.format)));
    const Settings source = m_work;
    for (int i = 0; i < kOptionCount; ++i) {
        m_options[static_cast<size_t>(i)].box->setChecked(source.*kOptions[i].field);
        optionChanged(i);
    }
    showRange();
}

void GeneralPage::restoreDefaults()
{
    const Settings defaults;
    for (int i = 0; i < kOptionCount; ++i)
        m_options[static_cast<size_t>(i)].box->setChecked(defaults.*kOptions[i].field);
    setFormat(day_names::formatIndex(defaults.format), true);
}

void GeneralPage::copyOptions(const Settings& from, Settings& to)
{
    for (const OptionEntry& entry : kOptions)
        to.*entry.field = from.*entry.field;
}
