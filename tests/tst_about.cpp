#include "about/about_box.h"
#include "app/main_window.h"
#include "app/program.h"
#include "platform/clock.h"
#include "platform/shell_open.h"
#include "recording_messenger.h"

#include <QAccessible>
#include <QAction>
#include <QGridLayout>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QUrlQuery>
#include <QtTest>

#include <functional>

namespace {

// Remembers the URLs instead of opening them.
class RecordingShellOpen final : public ShellOpen {
public:
    void open(const QUrl& url) override { urls << url; }
    QList<QUrl> urls;
};

QLabel* labelWithText(QWidget& parent, const QString& text)
{
    for (QLabel* label : parent.findChildren<QLabel*>()) {
        if (label->text() == text)
            return label;
    }
    return nullptr;
}

// The text rotated left by `steps` characters.
QString rotated(const QString& text, int steps)
{
    const int k = steps % int(text.size());
    return text.mid(k) + text.left(k);
}

} // namespace

// The about box: its texts, links, scrolling title and how it closes.
class TestAbout final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void captionsRedValuesNavy_data();
    void captionsRedValuesNavy();
    void okButtonAndWindow();
    void titleScrollsOneCharacterPerTick();
    void scrollRunsOnItsOwnAndStopsOnClose_data();
    void scrollRunsOnItsOwnAndStopsOnClose();
    void linksAskTheShellToOpen();
    void mainWindowOpensAndDestroysTheBox();

private:
    RecordingShellOpen m_shell;
};

void TestAbout::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void TestAbout::captionsRedValuesNavy_data()
{
    // An empty value is the maker's own: only shown, not fixed here.
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("value");
    const std::pair<const char*, const char*> rows[] = { { "Název Produktu:", "Zorivka" }, { "Autor:", "" },
        { "E-mail:", "" }, { "Internet:", "" }, { "Napsáno:", "" }, { "Verze programu:", "1.1" } };
    for (const auto& [caption, value] : rows)
        QTest::newRow(caption) << QString::fromUtf8(caption) << QString::fromUtf8(value);
}

void TestAbout::captionsRedValuesNavy()
{
    QFETCH(QString, caption);
    QFETCH(QString, value);
    Toprogramu box(m_shell);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QLabel* label = labelWithText(box, caption);
    QVERIFY(label);
    QCOMPARE(label->palette().color(QPalette::WindowText), QColor(Qt::red));
    QVERIFY(label->font().bold());
    // The value stands beside it, navy and bold.
    auto* grid = box.findChild<QGridLayout*>();
    int row = -1, column = -1, rows = 0, columns = 0;
    grid->getItemPosition(grid->indexOf(label), &row, &column, &rows, &columns);
    QCOMPARE(column, 0);
    auto* shown = qobject_cast<QLabel*>(grid->itemAtPosition(row, 1)->widget());
    QVERIFY(shown);
    QVERIFY(!shown->text().isEmpty());
    if (!value.isEmpty())
        QCOMPARE(shown->text(), value);
    QCOMPARE(shown->palette().color(QPalette::WindowText), QColor(0, 0, 128));
    QVERIFY(shown->font().bold());
    // A screen reader reads caption and value together, and the caption once.
    QCOMPARE(QAccessible::queryAccessibleInterface(shown)->text(QAccessible::Name),
        caption + u' ' + shown->text());
    QCOMPARE(QAccessible::queryAccessibleInterface(label)->text(QAccessible::Name), caption);
}

void TestAbout::okButtonAndWindow()
{
    Toprogramu box(m_shell);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    auto* ok = box.findChild<QPushButton*>("BitBtn1");
    QVERIFY(ok);
    QCOMPARE(ok->text(), QStringLiteral("OK"));
    QVERIFY(ok->isDefault());
    // The button runs across the whole width of the box.
    QVERIFY(ok->width() >= box.width() - 30);
    QVERIFY(box.findChild<QWidget*>("pruh1")->y() < box.findChild<QWidget*>("Image1")->y());
    QVERIFY(box.findChild<QWidget*>("Image1")->y() < box.findChild<QWidget*>("pruh2")->y());
    // Fixed size, no minimise or maximise box.
    QCOMPARE(box.minimumSize(), box.maximumSize());
    QVERIFY(!(box.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QVERIFY(box.windowFlags() & Qt::WindowCloseButtonHint);
}

void TestAbout::titleScrollsOneCharacterPerTick()
{
    Toprogramu box(m_shell);
    box.show();
    QCOMPARE(box.windowTitle(), QStringLiteral("O programu Zorivka"));
    const QString text = QString(18, u' ') + QStringLiteral("O programu - Zorivka") + QString(17, u' ');
    QCOMPARE(text.size(), 55);
    for (int tick = 1; tick <= 120; ++tick) {
        box.Timer1Timer();
        QCOMPARE(box.windowTitle(), rotated(text, tick - 1));
    }
}

void TestAbout::scrollRunsOnItsOwnAndStopsOnClose_data()
{
    QTest::addColumn<std::function<void(Toprogramu&)>>("close");
    QTest::newRow("Esc") << std::function<void(Toprogramu&)>(
        [](Toprogramu& box) { QTest::keyClick(&box, Qt::Key_Escape); });
    QTest::newRow("Esc on the mail link") << std::function<void(Toprogramu&)>([](Toprogramu& box) {
        QWidget* link = box.findChild<QWidget*>("email");
        link->setFocus();
        QTest::keyClick(link, Qt::Key_Escape);
    });
    QTest::newRow("OK") << std::function<void(Toprogramu&)>(
        [](Toprogramu& box) { box.findChild<QPushButton*>("BitBtn1")->click(); });
    QTest::newRow("close box") << std::function<void(Toprogramu&)>([](Toprogramu& box) { box.close(); });
}

void TestAbout::scrollRunsOnItsOwnAndStopsOnClose()
{
    QFETCH(std::function<void(Toprogramu&)>, close);
    Toprogramu box(m_shell);
    auto* timer = box.findChild<QTimer*>("Timer1");
    QVERIFY(timer);
    QVERIFY(!timer->isActive());
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), 120);
    QTRY_COMPARE(box.windowTitle().size(), 55);
    close(box);
    QVERIFY(!box.isVisible());
    QVERIFY(!timer->isActive());
}

void TestAbout::linksAskTheShellToOpen()
{
    m_shell.urls.clear();
    Toprogramu box(m_shell);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    auto* mail = box.findChild<QLabel*>("email");
    auto* web = box.findChild<QLabel*>("internet");
    QVERIFY(mail && web);
    QCOMPARE(mail->toolTip(), QStringLiteral("Kliknutím vytvoříte zprávu elektronické pošty"));
    QCOMPARE(web->toolTip(), QStringLiteral("Kliknutím najedete  na internet"));
    QCOMPARE(mail->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(web->cursor().shape(), Qt::PointingHandCursor);

    QTest::mouseClick(mail, Qt::LeftButton);
    QCOMPARE(m_shell.urls.size(), 1);
    const QUrl mailUrl = m_shell.urls.first();
    QCOMPARE(mailUrl.scheme(), QStringLiteral("mailto"));
    QCOMPARE(mailUrl.path(), mail->text());
    QVERIFY(!QUrlQuery(mailUrl).queryItemValue(QStringLiteral("subject")).isEmpty());
    QVERIFY(mailUrl.toString().startsWith(
        QStringLiteral("mailto:") + mail->text() + QStringLiteral("?subject=")));

    QTest::mouseClick(web, Qt::LeftButton);
    QCOMPARE(m_shell.urls.size(), 2);
    QVERIFY(m_shell.urls[1].scheme().startsWith(QStringLiteral("http")));
    QCOMPARE(m_shell.urls[1].host(), web->text());
    // From the keyboard too; the box stays open.
    web->setFocus();
    QTest::keyClick(web, Qt::Key_Space);
    QCOMPARE(m_shell.urls.size(), 3);
    QVERIFY(box.isVisible());
}

void TestAbout::mainWindowOpensAndDestroysTheBox()
{
    QTemporaryDir dir;
    RecordingMessenger messenger;
    clock_source::setNow(QDateTime(QDate(2026, 12, 6), QTime(10, 0)));
    const auto windowBuilt = program::assembleMainWindow(dir.path(), messenger);
    TForm1& window = *windowBuilt;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    const auto openFrom = [&](const std::function<void()>& trigger) {
        QPointer<QTimer> timer;
        QString title;
        bool modal = false;
        QTimer::singleShot(0, this, [&] {
            auto* box = qobject_cast<Toprogramu*>(QApplication::activeModalWidget());
            if (!box)
                return;
            modal = box->isModal();
            title = box->windowTitle();
            timer = box->findChild<QTimer*>("Timer1");
            QTest::keyClick(box, Qt::Key_Escape);
        });
        trigger();
        QVERIFY(modal);
        QCOMPARE(title, QStringLiteral("O programu Zorivka"));
        // The box was destroyed on closing, and its timer with it.
        QVERIFY(timer.isNull());
        QVERIFY(!window.findChild<Toprogramu*>());
    };
    openFrom([&] { window.findChild<QToolButton*>("ToolButton8")->click(); });
    openFrom([&] { window.findChild<QAction*>("napoveda")->trigger(); });
    QVERIFY(messenger.messages().isEmpty());
    window.close();
    clock_source::setNow({});
}

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
