#include "search/search_window.h"

#include "calendar/day_names.h"
#include "calendar/day_table.h"
#include "platform/clock.h"
#include "platform/messenger.h"
#include "search/search_match.h"
#include "settings/settings.h"
#include "widgets/bold_label.h"
#include "widgets/date_field.h"
#include "widgets/date_field_entry.h"
#include "widgets/main_form.h"
#include "widgets/main_state.h"
#include "widgets/screen_centre.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const QColor kRed(Qt::red);
const QColor kLegendYellow(255, 255, 0);
const QString kDateFormat = QStringLiteral("dd.MM.yyyy");
constexpr int kLeftWidth = 190;
constexpr int kRightWidth = 200;

QLabel* redBoldLabel(const QString& text, const char* name, QWidget* parent)
{
    QLabel* label = makeBoldLabel(text, kRed, parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

// The input of one kind of criterion: a caption over its control, which the caption
// names for screen readers, with a button beside or below it.
QWidget* inputBox(const QString& caption, const char* name, QWidget* control, QWidget* beside, QWidget* below,
    QWidget* parent)
{
    auto* box = new QWidget(parent);
    box->setObjectName(QString::fromLatin1(name));
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* label = new QLabel(caption, box);
    label->setBuddy(control);
    control->setAccessibleName(caption);
    layout->addWidget(label);
    auto* line = new QHBoxLayout;
    line->addWidget(control, 1);
    if (beside)
        line->addWidget(beside);
    layout->addLayout(line);
    if (below)
        layout->addWidget(below);
    return box;
}

// The seven day names, Monday first, in the day-name format of the settings.
QStringList weekNames(const QString& format)
{
    const int index = day_names::formatIndex(format);
    QStringList names;
    const QDate monday(2004, 1, 5);
    for (int day = 0; day < 7 && index >= 0; ++day)
        names << day_names::name(monday.addDays(day), index);
    return names;
}

} // namespace

void Thledatokno::open(MainForm& window, Messenger& messenger)
{
    if (window.selectedRow() < 0)
        return;
    Thledatokno dialog(window, messenger);
    dialog.exec();
    window.state().ListBox4.clear();
}

Thledatokno::Thledatokno(MainForm& window, Messenger& messenger)
    : QDialog(window.mainWidget(),
        Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
            | Qt::MSWindowsFixedSizeDialogHint)
    , m_window(window)
    , m_messenger(messenger)
{
    setObjectName(QStringLiteral("hledatokno"));
    setWindowTitle(QStringLiteral("Hledat..."));
    createControls();
    showForm();

    // The row selected on opening, and its date in the date field. Putting it there
    // starts no search; the field is armed at once when it shows another day than
    // today, so every later change searches.
    m_openingRow = window.selectedRow();
    window.state().ListBox4 = QStringList { QString::number(m_openingRow) };
    if (m_openingRow >= 0) {
        const QString date = window.table().record(m_openingRow).text(EventRecord::Field::Date);
        m_date->setDate(QDate::fromString(date, kDateFormat));
    }
    if (m_date->isEmpty())
        reportEmptyDate();
    if (m_date->date() != clock_source::today())
        m_zmena = QStringLiteral("ok");
    connect(m_date, &DateField::dateChanged, this, &Thledatokno::DateEdit1Change);
    connect(m_date, &DateField::calendarOpened, this, &Thledatokno::DateEdit1ButtonClick);
    new DateFieldEntry(*m_date, [this] {
        if (m_date->isEmpty())
            reportEmptyDate();
    });
}

void Thledatokno::createControls()
{
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    auto* top = new QHBoxLayout;
    layout->addLayout(top);

    auto* left = new QVBoxLayout;
    left->addWidget(redBoldLabel(QStringLiteral("- Hledat podle sloupce -"), "Label1", this));
    m_criteria = new QListWidget(this);
    m_criteria->setObjectName(QStringLiteral("ListBox1"));
    m_criteria->setAccessibleName(QStringLiteral("Hledat podle sloupce"));
    const Settings& settings = m_window.settings();
    for (int column = 0; column < settings.columnCount(); ++column)
        m_criteria->addItem(u' ' + settings.items[static_cast<size_t>(column)].title);
    m_criteria->setFixedSize(kLeftWidth, 6 * m_criteria->fontMetrics().height() + 16);
    left->addWidget(m_criteria);
    auto* hint
        = new QLabel(QStringLiteral("! Kliknutím na řádek ve výsledku hledání označíte záznam !"), this);
    hint->setObjectName(QStringLiteral("Label2"));
    hint->setWordWrap(true);
    hint->setFixedWidth(kLeftWidth);
    left->addWidget(hint);
    top->addLayout(left);
    top->addWidget(createInputs(), 0, Qt::AlignTop);

    m_resultHeader = new QLabel(QStringLiteral("Výsledek hledání"), this);
    m_resultHeader->setObjectName(QStringLiteral("Label3"));
    layout->addWidget(m_resultHeader);
    m_resultText = redBoldLabel(QString(), "vysledek", this);
    layout->addWidget(m_resultText);
    m_results = new QListWidget(this);
    m_results->setObjectName(QStringLiteral("ListBox2"));
    m_results->setAccessibleName(QStringLiteral("Výsledek hledání"));
    m_results->setUniformItemSizes(true);
    m_results->setFixedHeight(180);
    layout->addWidget(m_results);
    m_legend = new QLabel(this);
    m_legend->setObjectName(QStringLiteral("Label4"));
    m_legend->setTextFormat(Qt::PlainText);
    m_legend->setAutoFillBackground(true);
    QPalette yellow = m_legend->palette();
    yellow.setColor(QPalette::Window, kLegendYellow);
    yellow.setColor(QPalette::WindowText, Qt::black);
    m_legend->setPalette(yellow);
    m_legend->setMinimumHeight(m_legend->fontMetrics().height() + 6);
    m_legend->setContentsMargins(4, 2, 4, 2);
    layout->addWidget(m_legend);

    connect(m_criteria, &QListWidget::itemClicked, this,
        [this](QListWidgetItem* item) { chooseCriterion(m_criteria->row(item)); });
    // Choosing by the keyboard selects too; the current row the list takes on getting
    // the focus selects nothing and chooses nothing.
    connect(m_criteria, &QListWidget::itemSelectionChanged, this, [this] {
        const QList<QListWidgetItem*> chosen = m_criteria->selectedItems();
        if (!chosen.isEmpty())
            chooseCriterion(m_criteria->row(chosen.first()));
    });
    connect(m_results, &QListWidget::itemClicked, this,
        [this](QListWidgetItem* item) { ListBox2Click(m_results->row(item)); });
}

QWidget* Thledatokno::createInputs()
{
    auto* inputs = new QWidget(this);
    inputs->setFixedWidth(kRightWidth);
    auto* layout = new QVBoxLayout(inputs);
    layout->setContentsMargins(0, 0, 0, 0);

    m_dayNames = new QComboBox;
    m_dayNames->setObjectName(QStringLiteral("ComboBox1"));
    m_dayInput = inputBox(QStringLiteral("Vyberte:"), "Panel1", m_dayNames, nullptr, nullptr, inputs);

    m_date = new DateField;
    m_date->setObjectName(QStringLiteral("DateEdit1"));
    auto* today = new QPushButton(QStringLiteral("Aktuální datum"));
    today->setObjectName(QStringLiteral("Button2"));
    today->setAutoDefault(false);
    m_dateInput = inputBox(QStringLiteral("Zvolte:"), "Panel2", m_date, nullptr, today, inputs);
    m_date->lineEdit()->setAccessibleName(QStringLiteral("Zvolte:"));

    m_text = new QLineEdit;
    m_text->setObjectName(QStringLiteral("Edit1"));
    m_ok = new QPushButton(QStringLiteral("Ok"));
    m_ok->setObjectName(QStringLiteral("Button1"));
    m_ok->setDefault(true);
    m_textInput = inputBox(QStringLiteral("Zadejte:"), "Panel3", m_text, m_ok, nullptr, inputs);

    for (QWidget* input : { m_dayInput, m_dateInput, m_textInput }) {
        layout->addWidget(input);
        input->hide();
    }
    layout->addStretch(1);

    connect(m_dayNames, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            search(DayName, m_dayNames->itemText(index));
    });
    connect(today, &QPushButton::clicked, this, [this] { m_date->setDate(clock_source::today()); });
    connect(m_ok, &QPushButton::clicked, this, [this] {
        if (m_poradc.toInt() >= Time)
            search(m_poradc.toInt(), m_text->text());
    });
    return inputs;
}

void Thledatokno::chooseCriterion(int index)
{
    if (index < 0 || index >= m_criteria->count())
        return;
    m_poradc = QString::number(index);
    clearResults();
    m_vysledek.clear();
    m_resultText->clear();
    showForm();

    // The legend names the column that the result lines show after the row number.
    const Settings& settings = m_window.settings();
    const QString dateTitle = settings.items[1].title;
    const QString dayTitle = settings.items[0].title;
    const QString legend = QStringLiteral("Vysvětlivky:") + search_match::kSeparator
        + QStringLiteral("č. záznamu") + search_match::kSeparator;
    if (index == DayName)
        m_legend->setText(legend + dateTitle + QStringLiteral("  |"));
    else if (index == Date)
        m_legend->setText(legend + dayTitle + search_match::kSeparator);
    else
        m_legend->setText(legend + dateTitle + search_match::kSeparator);

    m_dayInput->setVisible(index == DayName);
    m_dateInput->setVisible(index == Date);
    m_textInput->setVisible(index >= Time);
    if (index == DayName) {
        const QSignalBlocker quiet(m_dayNames);
        m_dayNames->clear();
        m_dayNames->addItems(weekNames(settings.format));
        m_dayNames->setCurrentIndex(-1);
    } else if (index >= Time) {
        m_text->clear();
    }
}

void Thledatokno::showForm()
{
    const bool searched = !m_vysledek.isEmpty();
    m_resultHeader->setVisible(searched);
    m_resultText->setVisible(searched);
    m_results->setVisible(searched && m_results->count() > 0);
}

void Thledatokno::clearResults()
{
    m_results->clear();
    m_window.state().pocet.clear();
}

void Thledatokno::search(int field, const QString& value)
{
    clearResults();
    const DayTable& table = m_window.table();
    const std::vector<int> rows = search_match::rowsEqualTo(table, EventRecord::Field(field), value);
    const EventRecord::Field shown = field == Date ? EventRecord::Field::DayName : EventRecord::Field::Date;
    QStringList lines;
    QStringList& pocet = m_window.state().pocet;
    lines.reserve(static_cast<qsizetype>(rows.size()));
    for (int row : rows) {
        lines << search_match::resultLine(row, table.record(row).text(shown));
        pocet << QString::number(row);
    }
    m_results->addItems(lines);
    m_vysledek = rows.empty() ? QStringLiteral("! NENALEZENO !") : QStringLiteral("! NALEZENO !");
    m_resultText->setText(m_vysledek);
    showForm();
    // The main list has the focus once the window closes.
    m_window.focusList();
    if (field >= Time)
        m_ok->setFocus();
}

void Thledatokno::DateEdit1Change()
{
    if (m_date->isEmpty())
        reportEmptyDate();
    if (m_zmena != u"ok" && m_date->date() != clock_source::today())
        m_zmena = QStringLiteral("ok");
    if (m_zmena == u"ok")
        search(Date, m_date->text());
}

void Thledatokno::DateEdit1ButtonClick()
{
    if (m_date->isEmpty())
        reportEmptyDate();
    m_zmena = QStringLiteral("ok");
    clearResults();
    showForm();
}

void Thledatokno::reportEmptyDate()
{
    m_messenger.show(Messenger::Icon::Information, QStringLiteral("Informace"),
        QStringLiteral("Zvolený datum nebyl nalezen"));
}

void Thledatokno::ListBox2Click(int line)
{
    const QStringList& pocet = m_window.state().pocet;
    if (line < 0 || line >= pocet.size())
        return;
    const int row = pocet.at(line).toInt();
    // The status bar tells the row once the window closes, not at every click.
    m_window.selectRow(row);
    m_clickedRow = row;
    m_zmena2 = QStringLiteral("ZMĚNA");
}

void Thledatokno::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // The middle of the screen, wherever the main window stands.
    if (!m_placed) {
        m_placed = true;
        centreOnScreen(*this);
    }
}

void Thledatokno::done(int result)
{
    const int row = m_zmena2 == u"ZMĚNA" ? m_clickedRow : m_openingRow;
    if (row >= 0)
        m_window.showRecordNumber(row);
    m_window.state().pocet.clear();
    QDialog::done(result);
}
