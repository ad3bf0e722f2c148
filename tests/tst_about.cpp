#include "about/about_box.h"
#include "app/main_window.h"
#include "platform/shell_open.h"
#include "recording_messenger.h"
#include "window_fixture.h"

#include <QAccessible>
#include <QAction>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
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

    RecordingShellOpen m_shell;
    std::unique_ptr<Toprogramu> m_box;

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init()
    {
        m_shell.urls.clear();
        m_box = std::make_unique<Toprogramu>(m_shell);
    }

    void valuesTitleLinksAndClosing_data()
    {
        QTest::addColumn<Close>("close");
        QTest::newRow("Esc") << Close([](Toprogramu& box) { QTest::keyClick(&box, Qt::Key_Escape); });
        QTest::newRow("Esc on the mail link") << Close(
            [](Toprogramu& box) { QTest::keyClick(box.findChild<QWidget*>("email"), Qt::Key_Escape); });
        QTest::newRow("OK") << Close([](Toprogramu& box) {
            QTest::mouseClick(box.findChild<QPushButton*>("BitBtn1"), Qt::LeftButton);
        });
    }

    void valuesTitleLinksAndClosing()
    {
        QFETCH(Close, close);
        // A screen reader reads each value with its caption, and the caption alone once.
        const auto name = [](QWidget* label) {
            return QAccessible::queryAccessibleInterface(label)->text(QAccessible::Name);
        };
        auto* grid = m_box->findChild<QGridLayout*>();
        QStringList rows;
        for (int i = 0; i + 1 < grid->count(); i += 2) {
            auto* caption = qobject_cast<QLabel*>(grid->itemAt(i)->widget());
            auto* value = qobject_cast<QLabel*>(grid->itemAt(i + 1)->widget());
            QCOMPARE(name(value), caption->text() + u' ' + value->text());
            rows << name(caption) + u'|' + (i == 0 || i == 10 ? value->text() : u"*"_s);
        }
        QCOMPARE(rows,
            QStringList({ "Název Produktu:|Zorivka", "Autor:|*", "E-mail:|*", "Internet:|*", "Napsáno:|*",
                "Verze programu:|1.1" }));
        // The title scrolls only while the box is shown: once round and a step, each tick shows
        // the text, then rotates it left by one.
        auto* timer = m_box->findChild<QTimer*>("Timer1");
        QVERIFY(!timer->isActive());
        m_box->show();
        QVERIFY(timer->isActive());
        QString text = QString(18, u' ') + u"O programu - Zorivka"_s + QString(17, u' ');
        for (int tick = 0; tick < 56; ++tick, text = text.mid(1) + text.left(1)) {
            m_box->Timer1Timer();
            QCOMPARE(m_box->windowTitle(), text);
        }
        // The links open by mouse and from the keyboard; the box stays open.
        auto *mail = m_box->findChild<QLabel*>("email"), *web = m_box->findChild<QLabel*>("internet");
        QCOMPARE(mail->toolTip() + u'|' + web->toolTip(),
            u"Kliknutím vytvoříte zprávu elektronické pošty|Kliknutím najedete  na internet"_s);
        QTest::mouseClick(mail, Qt::LeftButton);
        QTest::mouseClick(web, Qt::LeftButton);
        QTest::keyClick(web, Qt::Key_Space);
        QCOMPARE(m_shell.urls.size(), 3);
        QVERIFY(m_shell.urls[0].toString().startsWith(u"mailto:"_s + mail->text() + u"?subject=Zorivka"_s)
            && m_shell.urls[1].host() == web->text() && m_shell.urls[2] == m_shell.urls[1]);
        QVERIFY(m_box->isVisible());
        close(*m_box);
        QVERIFY(!m_box->isVisible() && !timer->isActive());
    }

    void mainWindowOpensAndDestroysTheBox()
    {
        QTemporaryDir dir;
        RecordingMessenger messenger;
        auto window = fixture::openWindow(dir.path(), messenger);
        QStringList titles;
        const auto escape = [&](Toprogramu& box) {
            titles << box.windowTitle();
            QTest::keyClick(&box, Qt::Key_Escape);
        };
        QVERIFY(window && fixture::onModal<Toprogramu>(escape, [&] {
            fixture::clickToolButton(*window, "ToolButton8");
        }));
        // Destroyed on closing, its timer with it.
        QVERIFY(!window->findChild<Toprogramu*>());
        QVERIFY(fixture::onModal<Toprogramu>(
            escape, [&] { window->findChild<QAction*>("napoveda")->trigger(); }));
        QVERIFY(!window->findChild<Toprogramu*>() && messenger.messages().isEmpty());
        QCOMPARE(titles, QStringList(2, u"O programu Zorivka"_s));
    }
};

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
