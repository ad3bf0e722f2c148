#include "about/about_box.h"

#include "platform/shell_open.h"
#include "widgets/bold_label.h"
#include "widgets/icons.h"
#include "widgets/screen_centre.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <functional>

namespace {

const QString kAuthor = QStringLiteral("Tomáš Holub, Holub Soft");
const QString kMail = QStringLiteral("zorivka@holubsoft.cz");
const QString kMailSubject = QStringLiteral("Zorivka 1.1");
const QString kWeb = QStringLiteral("www.holubsoft.cz");
const QString kWritten = QStringLiteral("prosinec 2026");
const QString kVersion = QStringLiteral("1.1");
const QString kLabelNote = QStringLiteral("Holub Soft – malé programy pro každý den, psané doma v Čechách.");
const QColor kCaptionColour(Qt::red);
const QColor kValueColour(0, 0, 128); // navy
constexpr int kContentWidth = 320;

// A value that opens something when clicked, or when Space or Enter is pressed on it.
class LinkLabel final : public QLabel {
public:
    LinkLabel(const QString& text, const QString& hint, std::function<void()> activate, QWidget* parent)
        : QLabel(text, parent)
        , m_activate(std::move(activate))
    {
        setCursor(Qt::PointingHandCursor);
        setToolTip(hint);
        setAccessibleDescription(hint);
        setFocusPolicy(Qt::TabFocus);
        QFont font = this->font();
        font.setBold(true);
        font.setUnderline(true);
        setFont(font);
        QPalette palette = this->palette();
        palette.setColor(QPalette::WindowText, kValueColour);
        setPalette(palette);
    }

protected:
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        QLabel::mouseReleaseEvent(event);
        if (rect().contains(event->position().toPoint()) && event->button() == Qt::LeftButton)
            m_activate();
    }
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
            m_activate();
        else
            QLabel::keyPressEvent(event);
    }

private:
    std::function<void()> m_activate;
};

// A thin strip of red and navy dashes that moves by one step at each tick of the title scroll.
class AnimatedStrip final : public QWidget {
public:
    AnimatedStrip(int direction, const int& phase, QWidget* parent)
        : QWidget(parent)
        , m_direction(direction)
        , m_phase(phase)
    {
        setFixedHeight(4);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        constexpr int dash = 8;
        QPainter painter(this);
        const int offset = ((m_direction * m_phase * 2) % (2 * dash) + 2 * dash) % (2 * dash);
        for (int x = offset - 2 * dash; x < width(); x += 2 * dash) {
            painter.fillRect(x, 0, dash, height(), kCaptionColour);
            painter.fillRect(x + dash, 0, dash, height(), kValueColour);
        }
    }

private:
    int m_direction;
    const int& m_phase;
};

// The banner: the program's icon and name on a navy ground.
QPixmap banner()
{
    QPixmap pixmap(kContentWidth, 58);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient ground(0, 0, kContentWidth, 0);
    ground.setColorAt(0, kValueColour);
    ground.setColorAt(1, QColor(40, 70, 170));
    painter.fillRect(pixmap.rect(), ground);
    painter.drawPixmap(10, 5, icons::program().pixmap(48, 48));
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(26);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(
        QRect(70, 4, kContentWidth - 76, 32), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Zorivka"));
    font.setBold(false);
    font.setPixelSize(12);
    painter.setFont(font);
    painter.setPen(QColor(255, 220, 120));
    painter.drawText(QRect(70, 34, kContentWidth - 76, 18), Qt::AlignLeft | Qt::AlignVCenter,
        QStringLiteral("kalendář kulturních akcí"));
    return pixmap;
}

} // namespace

Toprogramu::Toprogramu(ShellOpen& shell, QWidget* parent)
    : QDialog(parent,
        Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
            | Qt::MSWindowsFixedSizeDialogHint)
    , m_shell(shell)
{
    setObjectName(QStringLiteral("oprogramu"));
    setWindowTitle(QStringLiteral("O programu Zorivka"));
    createContent();
    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(kScrollInterval);
    connect(m_timer, &QTimer::timeout, this, &Toprogramu::Timer1Timer);
}

Toprogramu::~Toprogramu() = default;

void Toprogramu::createContent()
{
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->setContentsMargins(12, 12, 12, 12);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(4);
    // A value is read with its caption ("Verze programu: 1.1"), so it is named by both
    // and is not the caption's buddy, which would be named by the caption alone.
    const auto addRow = [&](const QString& caption, QLabel* value) {
        const int row = grid->rowCount();
        value->setAccessibleName(caption + u' ' + value->text());
        grid->addWidget(makeBoldLabel(caption, kCaptionColour, this), row, 0);
        grid->addWidget(value, row, 1);
    };
    const auto value = [this](const QString& text) { return makeBoldLabel(text, kValueColour, this); };
    addRow(QStringLiteral("Název Produktu:"), value(QStringLiteral("Zorivka")));
    addRow(QStringLiteral("Autor:"), value(kAuthor));
    auto* mail = new LinkLabel(
        kMail, QStringLiteral("Kliknutím vytvoříte zprávu elektronické pošty"),
        [this] { m_shell.open(mailUrl()); }, this);
    mail->setObjectName(QStringLiteral("email"));
    addRow(QStringLiteral("E-mail:"), mail);
    auto* web = new LinkLabel(
        kWeb, QStringLiteral("Kliknutím najedete  na internet"), [this] { m_shell.open(webUrl()); }, this);
    web->setObjectName(QStringLiteral("internet"));
    addRow(QStringLiteral("Internet:"), web);
    addRow(QStringLiteral("Napsáno:"), value(kWritten));
    addRow(QStringLiteral("Verze programu:"), value(kVersion));
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);

    layout->addSpacing(6);
    auto* upper = new AnimatedStrip(-1, m_phase, this);
    upper->setObjectName(QStringLiteral("pruh1"));
    layout->addWidget(upper);
    m_strips[0] = upper;
    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setPixmap(banner());
    picture->setAccessibleName(QStringLiteral("Zorivka"));
    layout->addWidget(picture);
    auto* lower = new AnimatedStrip(1, m_phase, this);
    lower->setObjectName(QStringLiteral("pruh2"));
    layout->addWidget(lower);
    m_strips[1] = lower;

    auto* note = new QLabel(kLabelNote, this);
    note->setObjectName(QStringLiteral("Label13"));
    note->setWordWrap(true);
    note->setFixedWidth(kContentWidth);
    layout->addWidget(note);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("BitBtn1"));
    ok->setDefault(true);
    ok->setFocus();
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(ok);
}

QString Toprogramu::scrollingTitle()
{
    return QString(18, u' ') + QStringLiteral("O programu - Zorivka") + QString(17, u' ');
}

QUrl Toprogramu::mailUrl()
{
    return QUrl(QStringLiteral("mailto:") + kMail + QStringLiteral("?subject=") + kMailSubject);
}

QUrl Toprogramu::webUrl()
{
    return QUrl(QStringLiteral("http://") + kWeb);
}

void Toprogramu::Timer1Timer()
{
    setWindowTitle(m_titulek);
    m_titulek = m_titulek.mid(1) + m_titulek.left(1);
    ++m_phase;
    for (QWidget* strip : m_strips)
        strip->update();
}

void Toprogramu::done(int result)
{
    m_timer->stop();
    QDialog::done(result);
}

void Toprogramu::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_placed) {
        m_placed = true;
        // The box always opens in the middle of the screen.
        centreOnScreen(*this);
    }
    m_timer->start();
}

void Toprogramu::hideEvent(QHideEvent* event)
{
    m_timer->stop();
    QDialog::hideEvent(event);
}
