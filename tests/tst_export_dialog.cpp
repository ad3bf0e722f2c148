#include "app/main_window.h"
#include "app/program.h"
#include "export/export_dialog.h"
#include "platform/clock.h"
#include "recording_messenger.h"
#include "test_files.h"
#include "widgets/date_field.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

using F = EventRecord::Field;

class TestExportDialog final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void entryEndsTheRecordMenu();
    void exportsTheWholeCalendarFromMemory();
    void exportsARangeAsCsv();
    void unusableRangesWarn();
    void emptyRangeAndCancelledFileDialog();
    void unwritableFileIsReported();
    void escapeClosesFromADateField();

private:
    struct Choice {
        QString caption;
        QString suggested;
        QString filter;
        int calls = 0;
    };

    // Opens the dialog from the record menu and runs `act` on it while it is open.
    void runDialog(const std::function<void(Texport&)>& act);
    QString file(const QString& name) const { return QDir(m_dir->path()).filePath(name); }
    void addEvent(int row, const QString& time, const QString& text);
    template <typename T> static T* child(Texport& dialog, const char* name)
    {
        return dialog.findChild<T*>(QString::fromLatin1(name));
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    RecordingMessenger m_messenger;
    std::unique_ptr<TForm1> m_window;
    Choice m_choice;
    QString m_answer; // what the file dialog answers
    bool m_dialogSeen = false;
};

void TestExportDialog::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void TestExportDialog::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_messenger.clear();
    clock_source::setNow(QDateTime(QDate(2004, 6, 15), QTime(10, 0)));
    m_window = program::assembleMainWindow(m_dir->path(), m_messenger);
    m_choice = {};
    m_window->setSaveFileChooser(
        [this](QWidget*, const QString& caption, const QString& suggested, const QString& filter) {
            m_choice = { caption, suggested, filter, m_choice.calls + 1 };
            return m_answer;
        });
    // A first run holds the days of 2004; events on its first and last day and in June.
    addEvent(0, QStringLiteral("18:00"), QStringLiteral("Novoroční koncert; Dvořák"));
    addEvent(165, QStringLiteral("celý den"), QStringLiteral("Výstava"));
    addEvent(365, QStringLiteral("23,00-1,00"), QStringLiteral("Silvestr"));
    m_dialogSeen = false;
}

void TestExportDialog::cleanup()
{
    m_window.reset();
    clock_source::setNow({});
}

void TestExportDialog::addEvent(int row, const QString& time, const QString& text)
{
    EventRecord record = m_window->table().record(row);
    record.setText(F::Time, time);
    record.setText(F::Event, text);
    QVERIFY(m_window->table().setRecord(row, record));
}

void TestExportDialog::runDialog(const std::function<void(Texport&)>& act)
{
    QTimer::singleShot(0, this, [this, act] {
        auto* dialog = qobject_cast<Texport*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        m_dialogSeen = true;
        act(*dialog);
        if (dialog->isVisible())
            child<QPushButton>(*dialog, "Button2")->click();
    });
    m_window->findChild<QAction*>(QStringLiteral("Exportovat1"))->trigger();
    QVERIFY(m_dialogSeen);
}

void TestExportDialog::entryEndsTheRecordMenu()
{
    const QList<QAction*> actions = m_window->findChild<QMenu*>(QStringLiteral("PopupMenu1"))->actions();
    QStringList entries;
    for (QAction* action : actions)
        entries << (action->isSeparator() ? QStringLiteral("-") : action->text());
    QCOMPARE(entries,
        QStringList({ "Nový záznam", "Editovat záznam", "Smazat záznam", "-", "Smazat vše", "-", "Jdi na...",
            "Hledat...", "-", "Exportovat..." }));
    QCOMPARE(actions.last()->objectName(), QStringLiteral("Exportovat1"));
}

void TestExportDialog::exportsTheWholeCalendarFromMemory()
{
    m_answer = file(QStringLiteral("akce")); // no suffix: the format's is added
    bool defaults = false;
    runDialog([&](Texport& dialog) {
        defaults = dialog.windowTitle() == QStringLiteral("Exportovat")
            && child<QRadioButton>(dialog, "RadioButton1")->isChecked()
            && child<QRadioButton>(dialog, "RadioButton3")->isChecked()
            && !child<DateField>(dialog, "DateEdit1")->isEnabled()
            && child<DateField>(dialog, "DateEdit1")->date() == QDate(2004, 6, 15)
            && child<DateField>(dialog, "DateEdit2")->date() == QDate(2004, 12, 31);
        child<QPushButton>(dialog, "Button1")->click();
    });
    QVERIFY(defaults);
    QCOMPARE(m_choice.calls, 1);
    QCOMPARE(m_choice.caption, QStringLiteral("Exportovat"));
    QVERIFY(m_choice.suggested.endsWith(QStringLiteral("/zorivka.ics")));
    QCOMPARE(m_choice.filter, QStringLiteral("iCalendar (*.ics)"));

    const QByteArray ics = test_files::readRaw(file(QStringLiteral("akce.ics")));
    QCOMPARE(ics.count("BEGIN:VEVENT"), 3);
    QVERIFY(ics.contains("DTSTART:20040101T180000\r\n"));
    QVERIFY(ics.contains("SUMMARY:Novoroční koncert\\; Dvořák\r\n"));
    QVERIFY(ics.contains("DTSTART;VALUE=DATE:20040614\r\n"));
    QVERIFY(ics.contains("DTEND:20050101T010000\r\n"));
    QCOMPARE(m_messenger.messages().size(), 1);
    QCOMPARE(m_messenger.messages().first().icon, Messenger::Icon::Information);
    QCOMPARE(m_messenger.messages().first().text,
        QStringLiteral("Akce byly exportovány do souboru %1.")
            .arg(QDir::toNativeSeparators(file("akce.ics"))));
    // The export reads memory only: the window has written nothing yet.
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList { "akce.ics" });
}

void TestExportDialog::exportsARangeAsCsv()
{
    m_answer = file(QStringLiteral("akce.csv"));
    bool datesFollow = false;
    runDialog([&](Texport& dialog) {
        child<QRadioButton>(dialog, "RadioButton2")->click();
        child<QRadioButton>(dialog, "RadioButton4")->click();
        auto* from = child<DateField>(dialog, "DateEdit1");
        auto* to = child<DateField>(dialog, "DateEdit2");
        datesFollow = from->isEnabled() && to->isEnabled();
        from->setDate(QDate(2004, 6, 14));
        to->clear();
        to->lineEdit()->setCursorPosition(0);
        QTest::keyClicks(to->lineEdit(), QStringLiteral("31122004"));
        child<QPushButton>(dialog, "Button1")->click();
    });
    QVERIFY(datesFollow);
    QCOMPARE(m_choice.filter, QStringLiteral("CSV (*.csv)"));
    QVERIFY(m_choice.suggested.endsWith(QStringLiteral("/zorivka.csv")));
    QCOMPARE(test_files::readRaw(m_answer),
        QByteArray("\xEF\xBB\xBF"
                   "Datum;Hod.;Akce\r\n"
                   "14.06.2004;celý den;Výstava\r\n"
                   "31.12.2004;23,00-1,00;Silvestr\r\n"));
}

void TestExportDialog::unusableRangesWarn()
{
    m_answer = file(QStringLiteral("akce.ics"));
    runDialog([&](Texport& dialog) {
        child<QRadioButton>(dialog, "RadioButton4")->click();
        child<DateField>(dialog, "DateEdit1")->setDate(QDate(2004, 7, 1));
        child<DateField>(dialog, "DateEdit2")->setDate(QDate(2004, 6, 30));
        child<QPushButton>(dialog, "Button1")->click();
        // A date left unfinished and a mouse click on "Ok": the text as the user left
        // it counts, not the last whole date.
        QApplication::setActiveWindow(&dialog);
        QLineEdit* to = child<DateField>(dialog, "DateEdit2")->lineEdit();
        QTest::mouseClick(to, Qt::LeftButton);
        to->selectAll();
        QTest::keyClicks(to, "3107");
        QTest::mouseClick(child<QPushButton>(dialog, "Button1"), Qt::LeftButton);
    });
    QCOMPARE(m_messenger.texts(),
        QStringList({ "Datum Od je pozdější než datum Do.", "Zadejte platná data Od a Do." }));
    QCOMPARE(m_messenger.messages().first().title, QStringLiteral("Upozornění"));
    QCOMPARE(m_messenger.messages().first().icon, Messenger::Icon::Warning);
    QCOMPARE(m_choice.calls, 0);
    QVERIFY(!QFileInfo::exists(m_answer));
}

void TestExportDialog::emptyRangeAndCancelledFileDialog()
{
    m_answer = file(QStringLiteral("akce.ics"));
    bool stayedOpen = false;
    runDialog([&](Texport& dialog) {
        child<QRadioButton>(dialog, "RadioButton4")->click();
        child<DateField>(dialog, "DateEdit1")->setDate(QDate(2004, 1, 2));
        child<DateField>(dialog, "DateEdit2")->setDate(QDate(2004, 6, 13));
        child<QPushButton>(dialog, "Button1")->click();
        stayedOpen = dialog.isVisible();
        m_answer.clear(); // the user cancels the file dialog
        child<DateField>(dialog, "DateEdit2")->setDate(QDate(2004, 6, 14));
        child<QPushButton>(dialog, "Button1")->click();
        stayedOpen = stayedOpen && dialog.isVisible();
    });
    QVERIFY(stayedOpen);
    QCOMPARE(m_choice.calls, 1); // not asked for a file when there is nothing to write
    QCOMPARE(
        m_messenger.texts(), QStringList { "Ve zvoleném rozsahu nejsou žádné akce, soubor nebyl vytvořen." });
    QVERIFY(QDir(m_dir->path()).entryList(QDir::Files).isEmpty());
}

void TestExportDialog::unwritableFileIsReported()
{
    m_answer = file(QStringLiteral("chybi/akce.ics"));
    runDialog([&](Texport& dialog) { child<QPushButton>(dialog, "Button1")->click(); });
    QCOMPARE(m_messenger.messages().size(), 1);
    QCOMPARE(m_messenger.messages().first().title, QStringLiteral("Chyba"));
    QCOMPARE(m_messenger.messages().first().icon, Messenger::Icon::Error);
    QVERIFY(m_messenger.messages().first().text.startsWith(
        QStringLiteral("Soubor %1 nelze zapsat: ").arg(QDir::toNativeSeparators(m_answer))));
}

void TestExportDialog::escapeClosesFromADateField()
{
    bool closed = false;
    runDialog([&](Texport& dialog) {
        child<QRadioButton>(dialog, "RadioButton4")->click();
        QLineEdit* edit = child<DateField>(dialog, "DateEdit2")->lineEdit();
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_Escape);
        closed = !dialog.isVisible() && dialog.result() == QDialog::Rejected;
    });
    QVERIFY(closed);
    QCOMPARE(m_choice.calls, 0);
    QVERIFY(m_messenger.messages().isEmpty());
}

QTEST_MAIN(TestExportDialog)
#include "tst_export_dialog.moc"
