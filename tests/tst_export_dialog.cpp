#include "app/main_window.h"
#include "export/export_dialog.h"
#include "platform/clock.h"
#include "recording_messenger.h"
#include "test_files.h"
#include "widgets/date_field.h"
#include "window_fixture.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;
using F = EventRecord::Field;

namespace {

template <typename T> T* child(Texport& dialog, const char* name)
{
    return dialog.findChild<T*>(QString::fromLatin1(name));
}

// A mouse click near the left edge, where a radio button has its circle.
void click(Texport& dialog, const char* name)
{
    auto* button = child<QAbstractButton>(dialog, name);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

} // namespace

class TestExportDialog final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init();
    void cleanup();
    void exportsTheWholeCalendarFromMemory();
    void exportsARangeAsCsv();
    void unusableRangesWarn();

private:
    // Opens the dialog from the record menu and runs `act` on it while it is open.
    void runDialog(const std::function<void(Texport&)>& act)
    {
        QVERIFY(fixture::onModal<Texport>(
            act, [this] { m_window->findChild<QAction*>(u"Exportovat1"_s)->trigger(); }));
    }
    QString file(const QString& name) const { return QDir(m_dir->path()).filePath(name); }

    std::unique_ptr<QTemporaryDir> m_dir;
    RecordingMessenger m_messenger;
    std::unique_ptr<TForm1> m_window;
    QStringList m_asked; // "caption|suggested name|filter" of each file dialog
    QStringList m_answers; // what the file dialogs answer, in turn
};

void TestExportDialog::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_messenger.clear();
    clock_source::setNow(QDateTime(QDate(2004, 6, 15), QTime(10, 0)));
    m_window = fixture::openWindow(m_dir->path(), m_messenger, false);
    m_asked.clear();
    m_window->setSaveFileChooser(
        [this](QWidget*, const QString& caption, const QString& path, const QString& filter) {
            m_asked << caption + u'|' + QFileInfo(path).fileName() + u'|' + filter;
            return m_answers.isEmpty() ? QString() : m_answers.takeFirst();
        });
    // A first run holds the days of 2004; events on its first and last day and in June.
    for (const auto& [row, time, text] : { std::tuple { 0, "18:00", "Novoroční koncert; Dvořák" },
             std::tuple { 165, "celý den", "Výstava" }, std::tuple { 365, "23,00-1,00", "Silvestr" } }) {
        EventRecord record = m_window->table().record(row);
        record.setText(F::Time, QString::fromUtf8(time));
        record.setText(F::Event, QString::fromUtf8(text));
        QVERIFY(m_window->table().setRecord(row, record));
    }
}

void TestExportDialog::cleanup()
{
    m_window.reset();
    clock_source::setNow({});
}

void TestExportDialog::exportsTheWholeCalendarFromMemory()
{
    // A folder that is not there, then a name without a suffix: the format's is added.
    m_answers = QStringList { file(u"chybi/akce.ics"_s), file(u"akce"_s) };
    bool defaults = false;
    bool stayedOpen = false;
    runDialog([&](Texport& dialog) {
        // iCalendar, the whole calendar; the dates, when chosen, from today to the year's end.
        defaults = dialog.windowTitle() == u"Exportovat"
            && child<QRadioButton>(dialog, "RadioButton1")->isChecked()
            && child<QRadioButton>(dialog, "RadioButton3")->isChecked()
            && !child<DateField>(dialog, "DateEdit1")->isEnabled()
            && child<DateField>(dialog, "DateEdit1")->date() == QDate(2004, 6, 15)
            && child<DateField>(dialog, "DateEdit2")->date() == QDate(2004, 12, 31);
        click(dialog, "Button1");
        stayedOpen = dialog.isVisible();
        click(dialog, "Button1");
    });
    QVERIFY(defaults && stayedOpen);
    QCOMPARE(m_asked, QStringList(2, u"Exportovat|zorivka.ics|iCalendar (*.ics)"_s));
    // Read from memory: the window has written nothing yet.
    const QByteArray ics = test_files::readRaw(file(u"akce.ics"_s));
    QCOMPARE(ics.count("BEGIN:VEVENT"), 3);
    QVERIFY(ics.contains("DTSTART:20040101T180000\r\n"));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList { "akce.ics" });
    const QStringList messages = fixture::described(m_messenger);
    QCOMPARE(messages.size(), 2);
    QVERIFY(messages[0].startsWith(
        u"Error|Chyba|Soubor %1 nelze zapsat: "_s.arg(QDir::toNativeSeparators(file(u"chybi/akce.ics"_s)))));
    QCOMPARE(messages[1],
        u"Information|Informace|Akce byly exportovány do souboru %1."_s.arg(
            QDir::toNativeSeparators(file(u"akce.ics"_s))));
}

void TestExportDialog::exportsARangeAsCsv()
{
    m_answers = QStringList { QString(), file(u"akce.csv"_s) }; // the first file dialog is cancelled
    bool stayedOpen = false;
    runDialog([&](Texport& dialog) {
        click(dialog, "RadioButton2");
        click(dialog, "RadioButton4");
        auto* from = child<DateField>(dialog, "DateEdit1");
        QVERIFY(from->isEnabled() && child<DateField>(dialog, "DateEdit2")->isEnabled());
        from->setDate(QDate(2004, 6, 14));
        QLineEdit* to = child<DateField>(dialog, "DateEdit2")->lineEdit();
        to->selectAll();
        QTest::keyClicks(to, u"31122004"_s);
        click(dialog, "Button1");
        stayedOpen = dialog.isVisible();
        click(dialog, "Button1");
    });
    QVERIFY(stayedOpen);
    QCOMPARE(m_asked, QStringList(2, u"Exportovat|zorivka.csv|CSV (*.csv)"_s));
    QCOMPARE(m_messenger.messages().size(), 1); // nothing said about the cancelled one
    QCOMPARE(test_files::readRaw(file(u"akce.csv"_s)),
        QByteArray("\xEF\xBB\xBF"
                   "Datum;Hod.;Akce\r\n14.06.2004;celý den;Výstava\r\n31.12.2004;23,00-1,00;Silvestr\r\n"));
}

void TestExportDialog::unusableRangesWarn()
{
    m_answers = QStringList { file(u"akce.ics"_s) };
    bool closed = false;
    runDialog([&](Texport& dialog) {
        click(dialog, "RadioButton4");
        auto* from = child<DateField>(dialog, "DateEdit1");
        auto* to = child<DateField>(dialog, "DateEdit2");
        from->setDate(QDate(2004, 7, 1));
        to->setDate(QDate(2004, 6, 30));
        click(dialog, "Button1");
        // A date left unfinished and a mouse click on "Ok": the text as the user left
        // it counts, not the last whole date.
        QApplication::setActiveWindow(&dialog);
        QTest::mouseClick(to->lineEdit(), Qt::LeftButton);
        to->lineEdit()->selectAll();
        QTest::keyClicks(to->lineEdit(), "3107");
        click(dialog, "Button1");
        // No event in the range: not even asked for a file.
        from->setDate(QDate(2004, 1, 2));
        to->setDate(QDate(2004, 6, 13));
        click(dialog, "Button1");
        // Escape closes the dialog from a date field too.
        to->lineEdit()->setFocus();
        QTest::keyClick(to->lineEdit(), Qt::Key_Escape);
        closed = !dialog.isVisible() && dialog.result() == QDialog::Rejected;
    });
    QVERIFY(closed);
    QCOMPARE(fixture::described(m_messenger),
        QStringList({ "Warning|Upozornění|Datum Od je pozdější než datum Do.",
            "Warning|Upozornění|Zadejte platná data Od a Do.",
            "Information|Informace|Ve zvoleném rozsahu nejsou žádné akce, soubor nebyl vytvořen." }));
    QVERIFY(m_asked.isEmpty());
    QVERIFY(QDir(m_dir->path()).entryList(QDir::Files).isEmpty());
}

QTEST_MAIN(TestExportDialog)
#include "tst_export_dialog.moc"
