#include "about/about_box.h"
#include "app/main_window.h"
#include "platform/shell_open.h"
#include "recording_messenger.h"
#include "window_fixture.h"

#include <QAccessible>
#include <QAction>
#include <QGridLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QUrlQuery>
#include <QtTest>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

// Remembers the URLs instead of opening them.
class RecordingShellOpen final : public ShellOpen {
public:
    void open(const QUrl& url) override { urls << url; }
    QList<QUrl> urls;
};

using Close = std::function<void(Toprogramu&)>;

} // namespace

Q_DECLARE_METATYPE(Close)

// The about box: its texts, links, scrolling title and how it closes.
class TestAbout final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init();
    void captionsRedValuesNavy_data();
    void captionsRedValuesNavy();
    void titleScrollsOneCharacterPerTick();
    void scrollRunsOnItsOwnAndStopsOnClose_data();
    void scrollRunsOnItsOwnAndStopsOnClose();
    void linksAskTheShellToOpen();
    void mainWindowOpensAndDestroysTheBox();

private:
    RecordingShellOpen m_shell;
    std::unique_ptr<Toprogramu> m_box;
};

void TestAbout::init()
{
    m_shell.urls.clear();
    m_box = std::make_unique<Toprogramu>(m_shell);
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
    auto* grid = m_box->findChild<QGridLayout*>();
    QLabel* label = nullptr;
    for (QLabel* candidate : m_box->findChildren<QLabel*>())
        label = candidate->text() == caption ? candidate : label;
    QVERIFY(label);
    QCOMPARE(label->palette().color(QPalette::WindowText), QColor(Qt::red));
    QVERIFY(label->font().bold());
    // The value stands beside it, navy and bold.
    int row = -1, column = -1, rows = 0, columns = 0;
    grid->getItemPosition(grid->indexOf(label), &row, &column, &rows, &columns);
    QCOMPARE(column, 0);
    auto* shown = qobject_cast<QLabel*>(grid->itemAtPosition(row, 1)->widget());
    QVERIFY(shown && !shown->text().isEmpty());
    if (!value.isEmpty())
        QCOMPARE(shown->text(), value);
    QCOMPARE(shown->palette().color(QPalette::WindowText), QColor(0, 0, 128));
    QVERIFY(shown->font().bold());
    // A screen reader reads caption and value together, and the caption once.
    QCOMPARE(QAccessible::queryAccessibleInterface(shown)->text(QAccessible::Name),
        caption + u' ' + shown->text());
    QCOMPARE(QAccessible::queryAccessibleInterface(label)->text(QAccessible::Name), caption);
}

void TestAbout::titleScrollsOneCharacterPerTick()
{
    m_box->show();
    QCOMPARE(m_box->windowTitle(), u"O programu Zorivka"_s);
    QString text = QString(18, u' ') + u"O programu - Zorivka"_s + QString(17, u' ');
    // Round the whole text twice: each tick shows it, then rotates it left by one.
    for (int tick = 0; tick < 2 * 55; ++tick) {
        m_box->Timer1Timer();
        QCOMPARE(m_box->windowTitle(), text);
        text = text.mid(1) + text.left(1);
    }
}

void TestAbout::scrollRunsOnItsOwnAndStopsOnClose_data()
{
    QTest::addColumn<Close>("close");
    QTest::newRow("Esc") << Close([](Toprogramu& box) { QTest::keyClick(&box, Qt::Key_Escape); });
    QTest::newRow("Esc on the mail link") << Close([](Toprogramu& box) {
        QWidget* link = box.findChild<QWidget*>("email");
        link->setFocus();
        QTest::keyClick(link, Qt::Key_Escape);
    });
    QTest::newRow("OK") << Close(
        [](Toprogramu& box) { QTest::mouseClick(box.findChild<QPushButton*>("BitBtn1"), Qt::LeftButton); });
    QTest::newRow("close box") << Close([](Toprogramu& box) { box.close(); });
}

void TestAbout::scrollRunsOnItsOwnAndStopsOnClose()
{
    QFETCH(Close, close);
    auto* timer = m_box->findChild<QTimer*>("Timer1");
    QVERIFY(!timer->isActive());
    m_box->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_box.get()));
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), 120);
    QTRY_COMPARE(m_box->windowTitle().size(), 55);
    // The box is a fixed-size dialog with "OK" as its default button across its width.
    auto* ok = m_box->findChild<QPushButton*>("BitBtn1");
    QVERIFY(ok->text() == u"OK"_s && ok->isDefault() && ok->width() >= m_box->width() - 30);
    QCOMPARE(m_box->minimumSize(), m_box->maximumSize());
    QVERIFY(!(m_box->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QVERIFY(m_box->windowFlags() & Qt::WindowCloseButtonHint);
    // The banner stands between its two strips.
    const auto top = [this](const char* name) { return m_box->findChild<QWidget*>(name)->y(); };
    QVERIFY(top("pruh1") < top("Image1") && top("Image1") < top("pruh2"));
    close(*m_box);
    QVERIFY(!m_box->isVisible());
    QVERIFY(!timer->isActive());
}

void TestAbout::linksAskTheShellToOpen()
{
    m_box->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_box.get()));
    auto* mail = m_box->findChild<QLabel*>("email");
    auto* web = m_box->findChild<QLabel*>("internet");
    QCOMPARE(mail->toolTip(), u"Kliknutím vytvoříte zprávu elektronické pošty"_s);
    QCOMPARE(web->toolTip(), u"Kliknutím najedete  na internet"_s);
    QCOMPARE(mail->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(web->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseClick(mail, Qt::LeftButton);
    QTest::mouseClick(web, Qt::LeftButton);
    // From the keyboard too; the box stays open.
    web->setFocus();
    QTest::keyClick(web, Qt::Key_Space);
    QCOMPARE(m_shell.urls.size(), 3);
    QVERIFY(m_box->isVisible());
    const QUrl mailUrl = m_shell.urls[0];
    QVERIFY(mailUrl.toString().startsWith(u"mailto:"_s + mail->text() + u"?subject="_s));
    QVERIFY(!QUrlQuery(mailUrl).queryItemValue(u"subject"_s).isEmpty());
    QVERIFY(m_shell.urls[1].scheme().startsWith(u"http"_s));
    QCOMPARE(m_shell.urls[1].host(), web->text());
    QCOMPARE(m_shell.urls[2], m_shell.urls[1]);
}

void TestAbout::mainWindowOpensAndDestroysTheBox()
{
    QTemporaryDir dir;
    RecordingMessenger messenger;
    auto window = fixture::openWindow(dir.path(), messenger);
    QVERIFY(window);
    const auto openFrom = [&](const std::function<void()>& trigger) {
        QPointer<QTimer> timer;
        QVERIFY(fixture::onModal<Toprogramu>(
            [&](Toprogramu& box) {
                QCOMPARE(box.windowTitle(), u"O programu Zorivka"_s);
                timer = box.findChild<QTimer*>("Timer1");
                QTest::keyClick(&box, Qt::Key_Escape);
            },
            trigger));
        // The box was destroyed on closing, and its timer with it.
        QVERIFY(timer.isNull());
        QVERIFY(!window->findChild<Toprogramu*>());
    };
    openFrom([&] { fixture::clickToolButton(*window, "ToolButton8"); });
    openFrom([&] { window->findChild<QAction*>("napoveda")->trigger(); });
    QVERIFY(messenger.messages().isEmpty());
}

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
