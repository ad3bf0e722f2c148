#include "app/go_to_panel.h"

#include "calendar/day_table.h"
#include "platform/clock.h"
#include "platform/messenger.h"
#include "search/row_lookup.h"
#include "widgets/bold_label.h"
#include "widgets/date_field.h"
#include "widgets/date_field_entry.h"
#include "widgets/main_form.h"
#include "widgets/main_state.h"

#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QTableView>
#include <QToolButton>

namespace {

const QColor kNavy(0, 0, 128);
const QColor kRed(Qt::red);

struct UnitHints {
    const char* back;
    const char* forward;
};
// By unit, in the order of ComboBox1's items.
constexpr UnitHints kHints[] = {
    { "Předchozí den", "Další den" },
    { "Předchozí týden", "Další týden" },
    { "Předchozí měsíc", "Další měsíc" },
    { "Předchozí rok", "Další rok" },
};

// The pictures of the four buttons: arrows up (back) and down (forward), and the
// same with a bar for the first and the last row.
enum class Picture { Back, Forward, First, Last };

QIcon picture(Picture kind)
{
    const int size = 16;
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const bool up = kind == Picture::Back || kind == Picture::First;
    const bool bar = kind == Picture::First || kind == Picture::Last;
    QPainterPath arrow;
    const qreal tip = up ? (bar ? 4.5 : 3.0) : (bar ? 11.5 : 13.0);
    const qreal base = up ? tip + 8.0 : tip - 8.0;
    arrow.moveTo(8.0, tip);
    arrow.lineTo(14.0, base);
    arrow.lineTo(2.0, base);
    arrow.closeSubpath();
    painter.setBrush(kNavy);
    painter.drawPath(arrow);
    if (bar)
        painter.fillRect(QRectF(2.0, up ? 1.0 : 13.0, 12.0, 2.0), kRed);
    return QIcon(pixmap);
}

QLabel* navyLabel(const QString& text, const char* name, QWidget* parent)
{
    QLabel* label = makeBoldLabel(text, kNavy, parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

QFrame* redBar(QWidget* parent)
{
    auto* bar = new QFrame(parent);
    bar->setFixedSize(2, 24);
    bar->setAutoFillBackground(true);
    QPalette palette = bar->palette();
    palette.setColor(QPalette::Window, kRed);
    bar->setPalette(palette);
    return bar;
}

QToolButton* pictureButton(const char* name, const QIcon& icon, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setIcon(icon);
    button->setIconSize(QSize(16, 16));
    button->setFixedSize(24, 24);
    button->setAutoRaise(true);
    return button;
}

void setHint(QToolButton* button, const QString& hint, const QString& name)
{
    button->setToolTip(hint);
    button->setAccessibleName(name);
}

// dd.mm.yyyy with digits where the digits go.
bool isDateText(const QString& text)
{
    if (text.size() != 10 || text[2] != u'.' || text[5] != u'.')
        return false;
    for (int i : { 0, 1, 3, 4, 6, 7, 8, 9 }) {
        if (!text[i].isDigit())
            return false;
    }
    return true;
}

QString twoDigits(int number)
{
    return QStringLiteral("%1").arg(number, 2, 10, QLatin1Char('0'));
}

} // namespace

GoToPanel::GoToPanel(MainForm& form, Messenger& messenger, QWidget* parent)
    : QWidget(parent)
    , m_form(form)
    , m_messenger(messenger)
{
    setObjectName(QStringLiteral("GoToPanel"));
    createControls();
}

void GoToPanel::createControls()
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);

    QLabel* dateLabel = navyLabel(QStringLiteral("Datum:"), "Label1", this);
    m_date = new DateField(this);
    m_date->setObjectName(QStringLiteral("DateEdit2"));
    m_date->lineEdit()->setAccessibleName(QStringLiteral("Datum"));
    // Room for the whole date in the narrow window.
    m_date->lineEdit()->setMinimumWidth(
        m_date->lineEdit()->fontMetrics().horizontalAdvance(QStringLiteral("00.00.0000")) + 10);
    dateLabel->setBuddy(m_date->lineEdit());
    // The date of the go-to-today step, when it has run already.
    m_date->setDate(m_form.state().DateEdit1);

    auto* today = new QToolButton(this);
    today->setObjectName(QStringLiteral("ToolbarButton971"));
    today->setText(QStringLiteral("A"));
    QFont bold = today->font();
    bold.setBold(true);
    today->setFont(bold);
    QPalette red = today->palette();
    red.setColor(QPalette::ButtonText, kRed);
    today->setPalette(red);
    today->setFixedSize(20, 24);
    setHint(today, QStringLiteral("Aktuální datum"), QStringLiteral("Aktuální datum"));

    QLabel* unitLabel = navyLabel(QStringLiteral("Možnosti:"), "Label2", this);
    m_units = new QComboBox(this);
    m_units->setObjectName(QStringLiteral("ComboBox1"));
    m_units->addItems(
        { QStringLiteral("Dny"), QStringLiteral("Týdny"), QStringLiteral("Měsíce"), QStringLiteral("Roky") });
    m_units->setMaxVisibleItems(12);
    m_units->setCurrentIndex(NoUnit);
    m_units->setAccessibleName(QStringLiteral("Možnosti"));
    unitLabel->setBuddy(m_units);

    m_back = pictureButton("tlacitko2", picture(Picture::Back), this);
    m_forward = pictureButton("tlacitko3", picture(Picture::Forward), this);
    // Until a unit is chosen the step buttons do nothing, so their hints name no step.
    setHint(m_back, QString(), QStringLiteral("Předchozí"));
    setHint(m_forward, QString(), QStringLiteral("Další"));
    QToolButton* first = pictureButton("tlacitko1", picture(Picture::First), this);
    setHint(first, QStringLiteral("Na začátek seznamu"), QStringLiteral("Na začátek seznamu"));
    QToolButton* last = pictureButton("tlacitko4", picture(Picture::Last), this);
    setHint(last, QStringLiteral("Na konec seznamu"), QStringLiteral("Na konec seznamu"));

    for (QWidget* control : std::initializer_list<QWidget*> { dateLabel, m_date, today, unitLabel, m_units,
             m_back, m_forward, redBar(this), first, last, redBar(this) })
        layout->addWidget(control);
    layout->addStretch(1);

    connect(today, &QToolButton::clicked, this, &GoToPanel::ToolbarButton971Click);
    connect(m_units, &QComboBox::currentIndexChanged, this, &GoToPanel::ComboBox1Change);
    connect(m_back, &QToolButton::clicked, this, [this] { step(-1); });
    connect(m_forward, &QToolButton::clicked, this, [this] { step(1); });
    connect(first, &QToolButton::clicked, this, &GoToPanel::tlacitko1Click);
    connect(last, &QToolButton::clicked, this, &GoToPanel::tlacitko4Click);
    connect(m_date, &DateField::dateChanged, this, &GoToPanel::DateEdit2Change);
    connect(m_date, &DateField::calendarOpened, this, &GoToPanel::DateEdit2ButtonClick);
    new DateFieldEntry(*m_date, [this] { reportWithoutToday(); });
}

void GoToPanel::setDate(const QDate& date)
{
    m_date->setDate(date);
}

void GoToPanel::clearUnit()
{
    // The step buttons keep the hints of the last unit until another is chosen.
    m_units->setCurrentIndex(NoUnit);
}

void GoToPanel::ToolbarButton971Click()
{
    setDate(clock_source::today());
}

void GoToPanel::ComboBox1Change(int unit)
{
    if (unit == NoUnit)
        return;
    if (unit == Days)
        takeApartSelectedDate();
    m_form.focusList();
    const UnitHints& hints = kHints[unit];
    setHint(m_back, QString::fromUtf8(hints.back), QString::fromUtf8(hints.back));
    setHint(m_forward, QString::fromUtf8(hints.forward), QString::fromUtf8(hints.forward));
}

void GoToPanel::step(int direction)
{
    switch (m_units->currentIndex()) {
    case Days:
        stepRows(direction);
        break;
    case Weeks:
        stepRows(7 * direction);
        break;
    case Months:
        monthStep(direction);
        break;
    case Years:
        yearStep(direction);
        break;
    default:
        break;
    }
}

void GoToPanel::tlacitko1Click()
{
    if (m_form.table().rowCount() > 0)
        jump(0);
}

void GoToPanel::tlacitko4Click()
{
    if (m_form.table().rowCount() > 0)
        jump(m_form.table().rowCount() - 1);
}

// Day and week steps count rows, the extra rows among them. A step that would
// leave the list, or that has no selected row to start from, stays put.
void GoToPanel::stepRows(int rows)
{
    const int row = m_form.selectedRow();
    const int target = row + rows;
    if (row < 0 || target < 0 || target >= m_form.table().rowCount())
        return;
    jump(target);
}

// Fills d1, d2, d4 from the selected row's date and minrok, maxrok from the year
// list. False when no row is selected or the row has no date (an extra row).
bool GoToPanel::takeApartSelectedDate()
{
    MainState& state = m_form.state();
    const int row = m_form.selectedRow();
    state.pocet.clear();
    m_form.focusList();
    const QStringList& years = m_form.table().years();
    if (!years.isEmpty()) {
        state.minrok = years.first();
        state.maxrok = years.last();
    }
    if (row < 0)
        return false;
    const QString date = m_form.table().record(row).text(EventRecord::Field::Date);
    if (!isDateText(date))
        return false;
    state.d1 = date.left(2);
    state.d2 = date.mid(3, 2);
    state.d4 = date.mid(6, 4);
    return true;
}

void GoToPanel::monthStep(int direction)
{
    if (!takeApartSelectedDate())
        return;
    MainState& state = m_form.state();
    // The month stays within 01 to 12; the message comes on reaching either end.
    state.d2 = twoDigits(qBound(1, state.d2.toInt() + direction, 12));
    if (direction < 0 && state.d2 == u"01")
        informUser(QStringLiteral("Jste na prvním měsíci v roce ") + state.d4);
    if (direction > 0 && state.d2 == u"12")
        informUser(QStringLiteral("Jste na posledním měsíci v roce ") + state.d4);
    d3Click();
}

void GoToPanel::yearStep(int direction)
{
    if (!takeApartSelectedDate())
        return;
    MainState& state = m_form.state();
    int year = state.d4.toInt() + direction;
    if (direction < 0 && year == 2003)
        year = 2004;
    state.d4 = QString::number(year);
    if (direction < 0 && state.d4 == state.minrok)
        informUser(QStringLiteral("Začátek seznamu roků"));
    if (direction > 0 && (state.d4 == state.maxrok || state.d4 == QString::number(state.maxrok.toInt() + 1)))
        informUser(QStringLiteral("Konec seznamu roků"));
    d3Click();
}

// The day row of the date d1.d2.d4; a date the calendar lacks changes nothing. Rows
// that merely mention the date in their texts are no targets.
void GoToPanel::d3Click()
{
    const MainState& state = m_form.state();
    const QString key = state.d1 + u'.' + state.d2 + u'.' + state.d4;
    const int row = row_lookup::dayRowWithDate(m_form.table(), key);
    if (row >= 0)
        jump(row);
}

void GoToPanel::DateEdit2ButtonClick()
{
    reportWithoutToday();
    // From now on every change of the field jumps.
    m_form.state().zmena = QStringLiteral("ok");
}

void GoToPanel::DateEdit2Change()
{
    reportWithoutToday();
    if (m_form.state().zmena == u"ok")
        goToFieldDate();
}

// Before the go-to-today step has run there is no date to compare with.
void GoToPanel::reportWithoutToday()
{
    if (!m_form.state().DateEdit1.isValid())
        informUser(QStringLiteral("Zvolený datum nebyl nalezen"));
}

// The day row of the field's date.
void GoToPanel::goToFieldDate()
{
    const int row = row_lookup::dayRowWithDate(m_form.table(), m_date->text());
    if (row >= 0)
        jump(row);
    else
        informUser(QStringLiteral("Hledaný datum nebyl nalezen"));
    m_form.focusList();
}

void GoToPanel::jump(int row)
{
    m_form.selectRow(row);
    m_form.showRecordNumber(row);
    m_form.state().pocet.clear();
}

void GoToPanel::informUser(const QString& text)
{
    m_messenger.show(Messenger::Icon::Information, QStringLiteral("Informace"), text);
}
