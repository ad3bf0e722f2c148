#include "settings/column_page.h"

#include "platform/messenger.h"
#include "widgets/bold_label.h"
#include "widgets/cp1250_validator.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace {
constexpr int kMaxTitleLength = 20;
const QString kInformation = QStringLiteral("Informace");

QLabel* redLabel(QWidget* parent)
{
    return makeBoldLabel(QString(), Qt::red, parent);
}
} // namespace

ColumnPage::~ColumnPage()
{
    // A title edit with the focus reports the end of its editing while the base
    // class tears the page down, when this page's members are already gone.
    for (QLineEdit* title : m_titles)
        disconnect(title, nullptr, this, nullptr);
}

ColumnPage::ColumnPage(Settings& working, Messenger& messenger, QWidget* parent)
    : StylePage(working, parent)
    , m_messenger(messenger)
{
    setObjectName(QStringLiteral("TabSheet4"));
    setAccessibleName(QStringLiteral("Nastavení sloupců"));

    auto* countRow = new QHBoxLayout;
    countRow->setSpacing(4);
    QLabel* countHeading = heading(QStringLiteral("Počet sloupců:"));
    m_count = redLabel(this);
    m_count->setObjectName(QStringLiteral("pocet"));
    m_count->setMinimumWidth(16);
    countHeading->setBuddy(m_count);
    m_count->setAccessibleName(countHeading->text());
    QPushButton* add = button(QStringLiteral("Přidat sloupec"), QStringLiteral("pridat"));
    QPushButton* remove = button(QStringLiteral("Odebrat sloupec"), QStringLiteral("odebrat"));
    QPushButton* reset = button(QStringLiteral("Výchozí"), QStringLiteral("vychozipocet"));
    reset->setAccessibleName(countHeading->text() + u' ' + reset->text());
    connect(add, &QPushButton::clicked, this, &ColumnPage::addColumn);
    connect(remove, &QPushButton::clicked, this, [this] { removeColumn(); });
    connect(reset, &QPushButton::clicked, this, &ColumnPage::defaultCount);
    countRow->addWidget(countHeading);
    countRow->addWidget(m_count);
    countRow->addStretch(1);
    countRow->addWidget(add);
    countRow->addWidget(remove);
    countRow->addWidget(reset);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(5);
    grid->setVerticalSpacing(2);
    grid->addWidget(heading(QStringLiteral("Název:")), 0, 1);
    grid->addWidget(heading(QStringLiteral("Šířka:")), 0, 2, 1, 2);
    const QString captions[] = { QStringLiteral("Den:"), QStringLiteral("Datum:"), QStringLiteral("Hod.:"),
        QStringLiteral("Akce:"), QStringLiteral("1:"), QStringLiteral("2:") };
    for (int k = 0; k < Settings::kItemCount; ++k) {
        const size_t i = static_cast<size_t>(k);
        const QString number = QString::number(k + 1);
        m_captions[i] = new QLabel(captions[k], this);
        m_titles[i] = new QLineEdit(this);
        m_titles[i]->setObjectName(QStringLiteral("Edit") + number);
        m_titles[i]->setMaxLength(kMaxTitleLength);
        m_titles[i]->setFixedSize(124, kControlHeight);
        m_titles[i]->setValidator(new Cp1250Validator(m_titles[i]));
        m_titles[i]->setAccessibleName(QStringLiteral("Název ") + captions[k]);
        m_captions[i]->setBuddy(m_titles[i]);
        m_sliders[i] = new QSlider(Qt::Horizontal, this);
        m_sliders[i]->setObjectName(QStringLiteral("n") + number);
        m_sliders[i]->setRange(Settings::kMinWidth, Settings::kMaxWidth);
        m_sliders[i]->setMinimumWidth(60);
        m_sliders[i]->setAccessibleName(QStringLiteral("Šířka ") + captions[k]);
        m_values[i] = redLabel(this);
        m_values[i]->setObjectName(QStringLiteral("sirka") + number);
        m_values[i]->setMinimumWidth(m_values[i]->fontMetrics().horizontalAdvance(QStringLiteral("3000")));
        m_values[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_resets[i] = button(QStringLiteral("Výchozí"), QStringLiteral("vychozin") + number);
        m_resets[i]->setAccessibleName(m_sliders[i]->accessibleName() + u' ' + m_resets[i]->text());

        connect(m_titles[i], &QLineEdit::textChanged, this,
            [this, i](const QString& text) { m_working.items[i].title = text; });
        connect(m_titles[i], &QLineEdit::editingFinished, this,
            [this, k] { m_preview->model().setColumnTitle(k, m_titles[static_cast<size_t>(k)]->text()); });
        connect(m_sliders[i], &QSlider::valueChanged, this, [this, k](int width) { widthMoved(k, width); });
        connect(m_resets[i], &QPushButton::clicked, this,
            [this, i] { m_sliders[i]->setValue(Settings::defaultWidth(static_cast<int>(i)).toInt()); });

        grid->addWidget(m_captions[i], k + 1, 0);
        grid->addWidget(m_titles[i], k + 1, 1);
        grid->addWidget(m_sliders[i], k + 1, 2);
        grid->addWidget(m_values[i], k + 1, 3);
        grid->addWidget(m_resets[i], k + 1, 4);
    }
    grid->setColumnStretch(2, 1);

    m_preview = new SamplePreview(working, SamplePreviewModel::Looks::Full, {}, this);
    QVBoxLayout* layout = pageLayout(this);
    layout->addLayout(countRow);
    layout->addLayout(grid);
    layout->addStretch(1);
    layout->addWidget(m_preview);
    load();
}

int ColumnPage::pocet() const
{
    return m_working.pocets.toInt();
}

void ColumnPage::setPocet(int count)
{
    m_working.pocets = QString::number(count);
}

void ColumnPage::load()
{
    if (m_working.columnCount() == 0)
        setPocet(kMinCount);
    for (int k = 0; k < Settings::kItemCount; ++k) {
        const size_t i = static_cast<size_t>(k);
        // A longer title written into the file by hand stays whole until the user
        // shortens it; typing can never lengthen a title beyond 20 characters or beyond
        // what it holds. Taken first: a shorter limit would cut the shown text and
        // report the cut into the working copy.
        const QString title = m_working.items[i].title;
        m_titles[i]->setMaxLength(std::max(kMaxTitleLength, static_cast<int>(title.size())));
        m_titles[i]->setText(title);
        m_sliders[i]->setValue(m_working.width(k));
        // A stored width outside the slider's range is applied as the slider shows it.
        widthMoved(k, m_sliders[i]->value());
    }
    SamplePreviewModel& model = m_preview->model();
    while (model.columnCount() > 0)
        model.removeLastColumn();
    for (int k = 0; k < pocet(); ++k)
        appendPreviewColumn(k);
    showColumnRows();
    refreshPreview();
}

void ColumnPage::appendPreviewColumn(int column)
{
    m_preview->model().appendColumn(m_titles[static_cast<size_t>(column)]->text());
    fitColumns();
}

void ColumnPage::widthMoved(int column, int width)
{
    const size_t i = static_cast<size_t>(column);
    m_working.items[i].width = QString::number(width);
    m_values[i]->setText(QString::number(width));
    fitColumns();
}

void ColumnPage::fitColumns()
{
    // Each preview column keeps its slider's width; only the slider changes it.
    QHeaderView* header = m_preview->view()->horizontalHeader();
    for (int k = 0; k < m_preview->model().columnCount(); ++k) {
        header->setSectionResizeMode(k, QHeaderView::Fixed);
        header->resizeSection(k, m_sliders[static_cast<size_t>(k)]->value());
    }
}

void ColumnPage::showColumnRows()
{
    const int count = pocet();
    m_count->setText(QString::number(count));
    for (int k = 0; k < Settings::kItemCount; ++k) {
        const size_t i = static_cast<size_t>(k);
        const bool shown = k < count;
        for (QWidget* part : std::initializer_list<QWidget*> {
                 m_captions[i], m_titles[i], m_sliders[i], m_values[i], m_resets[i] })
            part->setVisible(shown);
    }
    fitColumns();
}

void ColumnPage::addColumn()
{
    int count = pocet() + 1;
    if (count <= kMaxCount)
        appendPreviewColumn(count - 1);
    // The count is held at its limit before any row is shown, so no seventh row appears.
    count = std::min(count, kMaxCount);
    setPocet(count);
    showColumnRows();
    if (count == kMaxCount)
        m_messenger.show(Messenger::Icon::Information, kInformation, QStringLiteral("Maximální počet je 6"));
}

void ColumnPage::removeColumn(bool withMessage)
{
    int count = pocet() - 1;
    if (count >= kMinCount)
        m_preview->model().removeLastColumn();
    // Never fewer than four: the "Akce:" row stays shown.
    count = std::max(count, kMinCount);
    setPocet(count);
    showColumnRows();
    if (count == kMinCount && withMessage)
        m_messenger.show(Messenger::Icon::Information, kInformation, QStringLiteral("Minimální počet je 4"));
}

void ColumnPage::defaultCount()
{
    removeColumn();
    removeColumn(false);
}
