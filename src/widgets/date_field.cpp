#include "widgets/date_field.h"

#include "platform/clock.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QTextCharFormat>
#include <QToolButton>
#include <QVBoxLayout>

#include <functional>

const QString DateField::kEmptyText = QStringLiteral("  .  .    ");

namespace {

const QString kFormat = QStringLiteral("dd.MM.yyyy");

// The four steps of the drop-down calendar, in the order of their buttons.
struct Step {
    const char* name;
    int months;
};
constexpr Step kSteps[] = {
    { "Předchozí rok", -12 },
    { "Předchozí měsíc", -1 },
    { "Další měsíc", 1 },
    { "Další rok", 12 },
};

// One or two arrow heads pointing left or right (a year step has two).
QIcon arrowIcon(bool right, bool twice)
{
    const int size = 16;
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(20, 40, 120));
    const qreal width = twice ? 5.0 : 6.0;
    const qreal start = twice ? 3.0 : 5.0;
    for (int i = 0; i < (twice ? 2 : 1); ++i) {
        const qreal left = start + i * width;
        const qreal tip = right ? left + width : left;
        const qreal back = right ? left : left + width;
        const QPointF points[] = { { back, 3.0 }, { tip, 8.0 }, { back, 13.0 } };
        painter.drawPolygon(points, 3);
    }
    return QIcon(pixmap);
}

// The drop-down button's picture: a small calendar sheet over an arrow head.
QIcon dropDownIcon()
{
    const int size = 16;
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(QColor(60, 60, 60));
    painter.setBrush(Qt::white);
    painter.drawRect(2, 1, 11, 9);
    painter.fillRect(3, 2, 10, 2, QColor(200, 40, 40));
    painter.setPen(QColor(20, 40, 120));
    for (int y = 5; y <= 8; y += 3)
        for (int x = 4; x <= 11; x += 3)
            painter.drawPoint(x, y);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0));
    const QPointF points[] = { { 4.0, 11.5 }, { 11.0, 11.5 }, { 7.5, 15.0 } };
    painter.drawPolygon(points, 3);
    return QIcon(pixmap);
}

bool isStrictDate(const QString& text, QDate* date)
{
    const QDate parsed = QDate::fromString(text, kFormat);
    if (!parsed.isValid() || parsed.toString(kFormat) != text)
        return false;
    if (date)
        *date = parsed;
    return true;
}

} // namespace

// The drop-down calendar: a month grid under a caption with year and month steps.
class DateFieldPopup final : public QFrame {
public:
    DateFieldPopup(QWidget* owner, const QDate& shown, std::function<void(const QDate&)> accepted)
        : QFrame(owner, Qt::Popup)
        , m_accepted(std::move(accepted))
    {
        setAttribute(Qt::WA_DeleteOnClose);
        setFrameShape(QFrame::Box);
        setObjectName(QStringLiteral("calendarPopup"));

        m_calendar = new QCalendarWidget(this);
        m_calendar->setObjectName(QStringLiteral("calendar"));
        m_calendar->setLocale(QLocale(QLocale::Czech, QLocale::CzechRepublic));
        m_calendar->setFirstDayOfWeek(Qt::Monday);
        m_calendar->setNavigationBarVisible(false);
        m_calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
        m_calendar->setMaximumDate(QDate(9999, 12, 31));
        m_calendar->setMinimumDate(QDate(1000, 1, 1));
        markToday();
        m_calendar->setSelectedDate(shown);

        m_caption = new QLabel(this);
        m_caption->setObjectName(QStringLiteral("caption"));
        m_caption->setAlignment(Qt::AlignCenter);
        QFont bold = m_caption->font();
        bold.setBold(true);
        m_caption->setFont(bold);

        auto* bar = new QHBoxLayout;
        bar->setContentsMargins(0, 0, 0, 0);
        for (const Step& step : kSteps) {
            const QString name = QString::fromUtf8(step.name);
            auto* button = new QToolButton(this);
            button->setToolTip(name);
            button->setAccessibleName(name);
            button->setAutoRaise(true);
            button->setFocusPolicy(Qt::NoFocus);
            button->setIcon(arrowIcon(step.months > 0, std::abs(step.months) == 12));
            const int months = step.months;
            connect(button, &QToolButton::clicked, this, [this, months] { this->step(months); });
            if (step.months == 1)
                bar->addWidget(m_caption, 1);
            bar->addWidget(button);
        }

        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(2, 2, 2, 2);
        layout->setSpacing(2);
        layout->addLayout(bar);
        layout->addWidget(m_calendar);

        connect(m_calendar, &QCalendarWidget::currentPageChanged, this, &DateFieldPopup::showCaption);
        connect(m_calendar, &QCalendarWidget::clicked, this, &DateFieldPopup::accept);
        connect(m_calendar, &QCalendarWidget::activated, this, &DateFieldPopup::accept);
        showCaption();
        m_calendar->setFocus();
    }

    QCalendarWidget* calendar() const { return m_calendar; }

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->key() == Qt::Key_Escape) {
            close();
            return;
        }
        QFrame::keyPressEvent(event);
    }

private:
    void step(int months) { m_calendar->setSelectedDate(m_calendar->selectedDate().addMonths(months)); }

    void showCaption()
    {
        const QLocale czech(QLocale::Czech, QLocale::CzechRepublic);
        const int month = m_calendar->monthShown();
        m_caption->setText(
            czech.standaloneMonthName(month) + QLatin1Char(' ') + QString::number(m_calendar->yearShown()));
    }

    void markToday()
    {
        QTextCharFormat today;
        today.setFontWeight(QFont::Bold);
        today.setForeground(QColor(200, 40, 40));
        m_calendar->setDateTextFormat(clock_source::today(), today);
    }

    void accept(const QDate& date)
    {
        // Copy first: closing deletes this popup.
        const auto accepted = m_accepted;
        close();
        accepted(date);
    }

    std::function<void(const QDate&)> m_accepted;
    QCalendarWidget* m_calendar = nullptr;
    QLabel* m_caption = nullptr;
};

DateField::DateField(QWidget* parent)
    : QWidget(parent)
{
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("dateText"));
    // Digits typed over the mask; the blank is a space so the empty field reads "  .  .    ".
    m_edit->setInputMask(QStringLiteral("00.00.0000; "));
    m_edit->installEventFilter(this);
    setFocusProxy(m_edit);

    m_button = new QToolButton(this);
    m_button->setObjectName(QStringLiteral("calendarButton"));
    m_button->setIcon(dropDownIcon());
    m_button->setAccessibleName(QStringLiteral("Kalendář"));
    m_button->setFocusPolicy(Qt::NoFocus);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_edit, 1);
    layout->addWidget(m_button);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);

    m_reported = text();
    connect(m_edit, &QLineEdit::textChanged, this, &DateField::onTextChanged);
    connect(m_button, &QToolButton::clicked, this, &DateField::openCalendar);
}

DateField::~DateField() = default;

QDate DateField::date() const
{
    QDate result;
    isStrictDate(text(), &result);
    return result;
}

void DateField::setDate(const QDate& date)
{
    if (date.isValid() && date.year() >= 1000 && date.year() <= 9999)
        m_edit->setText(date.toString(kFormat));
    else
        m_edit->clear();
}

QString DateField::text() const
{
    return m_edit->displayText();
}

void DateField::clear()
{
    m_edit->clear();
}

bool DateField::isEmpty() const
{
    return text() == kEmptyText;
}

QWidget* DateField::calendarPopup() const
{
    return m_popup;
}

void DateField::openCalendar()
{
    if (m_popup)
        return;
    const QDate shown = date().isValid() ? date() : clock_source::today();
    m_popup = new DateFieldPopup(this, shown, [this](const QDate& chosen) { acceptFromCalendar(chosen); });
    m_popup->adjustSize();
    QPoint place = mapToGlobal(QPoint(0, height()));
    if (const QScreen* screen = this->screen()) {
        const QRect room = screen->availableGeometry();
        if (place.y() + m_popup->height() > room.bottom())
            place.setY(mapToGlobal(QPoint(0, 0)).y() - m_popup->height());
        place.setX(qBound(room.left(), place.x(), qMax(room.left(), room.right() - m_popup->width())));
    }
    m_popup->move(place);
    m_popup->show();
    m_popup->calendar()->setFocus();
    emit calendarOpened();
}

void DateField::acceptFromCalendar(const QDate& date)
{
    setDate(date);
    m_edit->setFocus();
    emit calendarPicked();
}

void DateField::onTextChanged()
{
    const QString shown = text();
    if (shown == m_reported)
        return;
    QDate parsed;
    const bool complete = isStrictDate(shown, &parsed);
    if (!complete && shown != kEmptyText)
        return; // partial typing reports nothing
    m_reported = shown;
    emit dateChanged(parsed);
}

bool DateField::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_edit) {
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            const bool altDown = key->key() == Qt::Key_Down && (key->modifiers() & Qt::AltModifier);
            if (altDown || key->key() == Qt::Key_F4) {
                openCalendar();
                return true;
            }
        }
        // An unfinished text stays as the user left it when the focus moves on: a
        // button clicked next must judge that text, not a date put back behind it.
    }
    return QWidget::eventFilter(watched, event);
}
