#include "settings/style_pages.h"

#include "settings/font_picker.h"
#include "settings/sample_rows.h"
#include "settings/style_picker.h"
#include "widgets/bold_label.h"
#include "widgets/system_colors.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString kDefault = QStringLiteral("Výchozí");
const QStringList kPreviewTitles { QStringLiteral("Den"), QStringLiteral("Datum"), QStringLiteral("Hod."),
    QStringLiteral("Akce") };

// The captions of the six row kinds down the left, two headed pairs of columns beside them.
QGridLayout* kindGrid(QWidget* page, QLabel* first, QLabel* second)
{
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(2);
    grid->setColumnStretch(5, 1);
    grid->addWidget(first, 0, 1, 1, 2);
    grid->addWidget(second, 0, 3, 1, 2);
    for (int k = 0; k < Settings::kItemCount; ++k) {
        auto* caption = new QLabel(sample_rows::caption(k), page);
        grid->addWidget(caption, k + 1, 0);
    }
    return grid;
}
} // namespace

// ---- StylePage -------------------------------------------------------------

QVBoxLayout* StylePage::pageLayout(QWidget* page)
{
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    return layout;
}

StylePage::StylePage(Settings& working, QWidget* parent)
    : QWidget(parent)
    , m_working(working)
{
}

void StylePage::addKindRowsAndPreview(QGridLayout* grid, SamplePreviewModel::Looks looks)
{
    // The preview of the row kinds' looks has its own four columns and cannot be used.
    m_preview = new SamplePreview(m_working, looks, kPreviewTitles, this);
    m_preview->setEnabled(false);
    QVBoxLayout* layout = pageLayout(this);
    layout->addLayout(grid);
    layout->addStretch(1);
    layout->addWidget(m_preview);
}

QLabel* StylePage::heading(const QString& text)
{
    return makeBoldLabel(text, QColor(0, 0, 128), this);
}

QPushButton* StylePage::button(const QString& text, const QString& name)
{
    auto* push = new QPushButton(text, this);
    push->setObjectName(name);
    push->setAutoDefault(false);
    // Six rows of controls and a preview share a small page: buttons are only as wide as their text.
    push->setFixedSize(push->fontMetrics().horizontalAdvance(text) + 12, kControlHeight);
    return push;
}

// ---- ColourPage ------------------------------------------------------------

ColourPage::ColourPage(Settings& working, QWidget* parent)
    : StylePage(working, parent)
    , m_systemChooser(std::make_unique<SystemColourChooser>())
    , m_chooser(m_systemChooser.get())
{
    setObjectName(QStringLiteral("TabSheet2"));
    setAccessibleName(QStringLiteral("Nastavení barev"));
    QGridLayout* grid = kindGrid(this, heading(QStringLiteral("Pozadí:")), heading(QStringLiteral("Text:")));
    for (int k = 0; k < Settings::kItemCount; ++k) {
        const QString number = QString::number(k + 1);
        for (const bool background : { true, false }) {
            auto* swatch = new ColourSwatch(this);
            swatch->setObjectName((background ? u'p' : u't') + number);
            connect(
                swatch, &ColourSwatch::clicked, this, [this, k, background] { chooseColour(k, background); });
            QPushButton* reset = button(kDefault, QStringLiteral("vychozi") + swatch->objectName());
            connect(reset, &QPushButton::clicked, this, [this, k, background] {
                setColour(k, background,
                    background ? sample_rows::defaultRowColour(k) : sample_rows::defaultFontColour(k));
            });
            (background ? m_backgrounds : m_texts)[static_cast<size_t>(k)] = swatch;
            const int column = background ? 1 : 3;
            grid->addWidget(swatch, k + 1, column);
            grid->addWidget(reset, k + 1, column + 1);
        }
    }
    addKindRowsAndPreview(grid, SamplePreviewModel::Looks::ColoursAndFaces);
    load();
}

ColourPage::~ColourPage() = default;

void ColourPage::setColourChooser(ColourChooser* chooser)
{
    m_chooser = chooser ? chooser : m_systemChooser.get();
}

void ColourPage::load()
{
    for (int k = 0; k < Settings::kItemCount; ++k) {
        const RowItem& item = m_working.items[static_cast<size_t>(k)];
        m_backgrounds[static_cast<size_t>(k)]->setColour(system_colors::resolve(item.rowColour));
        m_texts[static_cast<size_t>(k)]->setColour(system_colors::resolve(item.fontColour));
    }
    refreshPreview();
}

void ColourPage::chooseColour(int item, bool background)
{
    const ColourSwatch* swatch = (background ? m_backgrounds : m_texts)[static_cast<size_t>(item)];
    const std::optional<QColor> chosen = m_chooser->choose(swatch->colour(), this);
    if (chosen && chosen->isValid())
        setColour(item, background, colour_code::rgb(chosen->red(), chosen->green(), chosen->blue()));
}

void ColourPage::setColour(int item, bool background, std::int32_t colour)
{
    RowItem& row = m_working.items[static_cast<size_t>(item)];
    (background ? row.rowColour : row.fontColour) = colour;
    (background ? m_backgrounds : m_texts)[static_cast<size_t>(item)]->setColour(
        system_colors::resolve(colour));
    refreshPreview();
}

// ---- DisplayPage -----------------------------------------------------------

DisplayPage::DisplayPage(Settings& working, QWidget* parent)
    : StylePage(working, parent)
{
    setObjectName(QStringLiteral("TabSheet3"));
    setAccessibleName(QStringLiteral("Možnosti zobrazení"));
    QGridLayout* grid
        = kindGrid(this, heading(QStringLiteral("Písmo:")), heading(QStringLiteral("Styl písma:")));
    for (int k = 0; k < Settings::kItemCount; ++k) {
        const QString number = QString::number(k + 1);
        QPushButton* font = button(QStringLiteral("Vybrat"), QStringLiteral("pismo") + number);
        QPushButton* fontReset = button(kDefault, QStringLiteral("vychozipismo") + number);
        QPushButton* style = button(QStringLiteral("Vybrat"), QStringLiteral("styl") + number);
        QPushButton* styleReset = button(kDefault, QStringLiteral("vychozistyl") + number);
        const QString& caption = sample_rows::caption(k);
        font->setAccessibleName(QStringLiteral("Písmo ") + caption + u' ' + font->text());
        fontReset->setAccessibleName(QStringLiteral("Písmo ") + caption + u' ' + kDefault);
        style->setAccessibleName(QStringLiteral("Styl písma ") + caption + u' ' + style->text());
        styleReset->setAccessibleName(QStringLiteral("Styl písma ") + caption + u' ' + kDefault);
        connect(font, &QPushButton::clicked, this, [this, k] { pickFont(k); });
        connect(style, &QPushButton::clicked, this, [this, k] { pickStyle(k); });
        connect(fontReset, &QPushButton::clicked, this, [this, k] {
            m_working.items[static_cast<size_t>(k)].font = sample_rows::defaultFont();
            refreshPreview();
        });
        connect(styleReset, &QPushButton::clicked, this, [this, k] {
            RowItem& item = m_working.items[static_cast<size_t>(k)];
            item.bold = item.italic = item.underline = false;
            refreshPreview();
        });
        grid->addWidget(font, k + 1, 1);
        grid->addWidget(fontReset, k + 1, 2);
        grid->addWidget(style, k + 1, 3);
        grid->addWidget(styleReset, k + 1, 4);
    }
    addKindRowsAndPreview(grid, SamplePreviewModel::Looks::Full);
    load();
}

void DisplayPage::load()
{
    refreshPreview();
}

void DisplayPage::pickFont(int item)
{
    m_cislo = item + 1;
    Tpismo picker(m_working.items[static_cast<size_t>(item)], this);
    picker.exec();
    refreshPreview();
}

void DisplayPage::pickStyle(int item)
{
    m_cislo = item + 1;
    Tstyl picker(m_working.items[static_cast<size_t>(item)], this);
    picker.exec();
    refreshPreview();
}
