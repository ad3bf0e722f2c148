#include "app/icons.h"
#include "app/main_window.h"
#include "recording_messenger.h"

#include <QAction>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <memory>
#include <set>

namespace {

using icons::Picture;

constexpr Picture kToolbarPictures[] = { Picture::NewRecord, Picture::EditRecord, Picture::DeleteRecord,
    Picture::DeleteAll, Picture::GoTo, Picture::Search, Picture::Settings, Picture::About, Picture::Exit };

// The files of kToolbarPictures, in the toolbar's order.
const QStringList kFiles { "new-record", "edit-record", "delete-record", "delete-all", "go-to", "search",
    "settings", "about", "exit" };

QImage imageOf(const QIcon& icon, int size)
{
    return icon.pixmap(QSize(size, size), 1.0).toImage().convertToFormat(QImage::Format_ARGB32);
}

QImage fileImage(const QString& name)
{
    return QImage(QStringLiteral(":/icons/") + name).convertToFormat(QImage::Format_ARGB32);
}

} // namespace

// The program's pictures come from its own resource file, and the window shows them.
class TestStartup final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void everyPictureHasBothSizes();
    void toolbarAndMenusShowTheProgramsPictures();

private:
    std::unique_ptr<TForm1> open();

    QTemporaryDir m_dir;
    RecordingMessenger m_messenger;
};

void TestStartup::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(m_dir.isValid());
}

std::unique_ptr<TForm1> TestStartup::open()
{
    auto window = std::make_unique<TForm1>(m_dir.path(), m_messenger);
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        return nullptr;
    return window;
}

void TestStartup::everyPictureHasBothSizes()
{
    std::set<qint64> seen;
    for (Picture picture : kToolbarPictures) {
        const QIcon icon = icons::picture(picture);
        QVERIFY(!icon.isNull());
        QCOMPARE(icon.availableSizes(), (QList<QSize> { QSize(16, 16), QSize(24, 24) }));
        // Drawn at each size, not scaled from one: the 16-pixel picture is its own file.
        QCOMPARE(imageOf(icon, 16).size(), QSize(16, 16));
        QVERIFY(imageOf(icon, 16) != imageOf(icon, 24).scaled(16, 16));
        // No two pictures are the same.
        QVERIFY(seen.insert(imageOf(icon, 24).cacheKey()).second);
    }
    // High-density screens get pictures drawn at twice the size.
    for (const QString& name : kFiles) {
        QCOMPARE(fileImage(name + "-16@2x.png").size(), QSize(32, 32));
        QCOMPARE(fileImage(name + "-24@2x.png").size(), QSize(48, 48));
    }
    const QIcon program = icons::program();
    QCOMPARE(program.availableSizes().size(), 5);
    QCOMPARE(program.availableSizes().last(), QSize(64, 64));
}

void TestStartup::toolbarAndMenusShowTheProgramsPictures()
{
    auto window = open();
    QVERIFY(window);
    for (int i = 0; i < kFiles.size(); ++i) {
        auto* button = window->findChild<QToolButton*>(QStringLiteral("ToolButton%1").arg(i + 1));
        QVERIFY(button);
        QCOMPARE(imageOf(button->icon(), 24), fileImage(kFiles[i] + "-24.png"));
    }
    // The record menu and the tray menu use the same pictures at menu size.
    const QList<std::pair<const char*, QString>> entries { { "Novyzaznam1", "new-record" },
        { "Editovatzaznam1", "edit-record" }, { "Smazatzaznam1", "delete-record" },
        { "Smazatvse1", "delete-all" }, { "Prejdina1", "go-to" }, { "Hledat1", "search" },
        { "napoveda", "about" }, { "Konecprogramu1", "exit" } };
    for (const auto& [name, file] : entries) {
        auto* action = window->findChild<QAction*>(QLatin1String(name));
        QVERIFY2(action, name);
        QCOMPARE(imageOf(action->icon(), 16), fileImage(file + "-16.png"));
    }
    QVERIFY(window->findChild<QAction*>("spusteni")->icon().isNull());
    auto* tray = window->findChild<QSystemTrayIcon*>("TrayIcon1");
    QVERIFY(tray);
    QCOMPARE(imageOf(tray->icon(), 16), fileImage("program-16.png"));
    QCOMPARE(imageOf(window->windowIcon(), 32), fileImage("program-32.png"));
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
