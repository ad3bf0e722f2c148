#include "app/main_window.h"
#include "export/export_dialog.h"
#include "platform/clock.h"
#include "platform/parts.h"
#include "recording_messenger.h"
#include "test_files.h"
#include "widgets/date_field.h"
#include "window_fixture.h"

#include <QAction>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

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
    void exportsFromTheRecordMenu();
};

void TestExportDialog::exportsFromTheRecordMenu()
{
    QTemporaryDir dir;
    RecordingMessenger messenger;
    clock_source::setNow(QDateTime(QDate(2004, 6, 15), QTime(10, 0)));
    const auto window = fixture::openWindow(dir.path(), messenger, false);
    QStringList asked; // "caption|suggested name|filter" of each file dialog
    // A folder that is not there, then a name without a suffix: the format's is added;
    // then a cancelled file dialog and a CSV file.
    // Before that, a first try without the iCalendar part.
    QStringList answers { dir.filePath(u"akce.ics"_s), dir.filePath(u"chybi/akce.ics"_s),
        dir.filePath(u"akce"_s), QString(), dir.filePath(u"akce.csv"_s) };
    window->setSaveFileChooser(
        [&](QWidget*, const QString& caption, const QString& path, const QString& filter) {
            asked << caption + u'|' + QFileInfo(path).fileName() + u'|' + filter;
            return answers.isEmpty() ? QString() : answers.takeFirst();
        });
    // A first run holds the days of 2004; events under its first and last day and in June.
    for (const auto& [row, time, text] : { std::tuple { 1, "18:00", "Novoroční koncert; Dvořák" },
             std::tuple { 167, "celý den", "Výstava" }, std::tuple { 368, "23,00-1,00", "Silvestr" } })
        QVERIFY(window->table().insertRecord(
            row, fixture::extraRow(QString::fromUtf8(time), QString::fromUtf8(text))));
    const auto exportDialog = [&window](const std::function<void(Texport&)>& act) {
        return fixture::onModal<Texport>(
            act, [&window] { window->findChild<QAction*>(u"Exportovat1"_s)->trigger(); });
    };

    // iCalendar, the whole calendar; the dates, when chosen, from today to the year's end.
    // The dialog stays open after a failed export and after a cancelled file dialog.
    QString open; // "1" for each time the dialog stays open after "Ok", "0" when it closed
    QVERIFY(exportDialog([&](Texport& dialog) {
        QVERIFY(dialog.windowTitle() == u"Exportovat"
            && child<QRadioButton>(dialog, "RadioButton1")->isChecked()
            && child<QRadioButton>(dialog, "RadioButton3")->isChecked()
            && !child<DateField>(dialog, "DateEdit1")->isEnabled()
            && child<DateField>(dialog, "DateEdit1")->date() == QDate(2004, 6, 15)
            && child<DateField>(dialog, "DateEdit2")->date() == QDate(2004, 12, 31));
        const QByteArray parts = qgetenv("ZORIVKA_PARTS_DIR");
        qputenv("ZORIVKA_PARTS_DIR", dir.filePath(u"chybi"_s).toLocal8Bit());
        click(dialog, "Button1");
        qputenv("ZORIVKA_PARTS_DIR", parts);
        open += dialog.isVisible() ? u'1' : u'0';
        click(dialog, "Button1");
        click(dialog, "Button1");
    }));
    // Read from memory: the window has written nothing yet.
    const QByteArray ics = test_files::readRaw(dir.filePath(u"akce.ics"_s));
    QVERIFY(ics.count("BEGIN:VEVENT") == 3 && ics.contains("DTSTART:20040101T180000\r\n"));

    // A range as CSV, its first date chosen, its last typed.
    QVERIFY(exportDialog([&](Texport& dialog) {
        click(dialog, "RadioButton2");
        click(dialog, "RadioButton4");
        auto* from = child<DateField>(dialog, "DateEdit1");
        QVERIFY(from->isEnabled() && child<DateField>(dialog, "DateEdit2")->isEnabled());
        from->setDate(QDate(2004, 6, 14));
        QLineEdit* to = child<DateField>(dialog, "DateEdit2")->lineEdit();
        to->selectAll();
        QTest::keyClicks(to, u"31122004"_s);
        click(dialog, "Button1");
        open += dialog.isVisible() ? u'1' : u'0';
        click(dialog, "Button1");
    }));
    QCOMPARE(test_files::readRaw(dir.filePath(u"akce.csv"_s)),
        QByteArray("\xEF\xBB\xBF"
                   "Datum;Hod.;Akce\r\n14.06.2004;celý den;Výstava\r\n31.12.2004;23,00-1,00;Silvestr\r\n"));

    // Ranges that cannot be exported warn and ask for no file.
    QVERIFY(exportDialog([&](Texport& dialog) {
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
        // One day without an event: not even asked for a file.
        from->setDate(QDate(2004, 6, 13));
        to->setDate(QDate(2004, 6, 13));
        click(dialog, "Button1");
        // Escape closes the dialog from a date field too.
        to->lineEdit()->setFocus();
        QTest::keyClick(to->lineEdit(), Qt::Key_Escape);
        open += dialog.isVisible() ? u'1' : u'0';
    }));
    QCOMPARE(open, u"110"_s);

    QCOMPARE(asked,
        QStringList(3, u"Exportovat|zorivka.ics|iCalendar (*.ics)"_s)
            + QStringList(2, u"Exportovat|zorivka.csv|CSV (*.csv)"_s));
    QStringList messages = fixture::described(messenger);
    messages[1].truncate(messages[1].indexOf(u": "_s)); // the system's reason follows
    const auto exported = u"Information|Informace|Akce byly exportovány do souboru %1."_s;
    QCOMPARE(messages,
        QStringList({ u"Error|Chyba|Soubor %1 nelze vytvořit: Část programu „ical“ nelze načíst: "
                      "soubor %2 nebyl nalezen"_s.arg(
                          QDir::toNativeSeparators(dir.filePath(u"akce.ics"_s)), parts::fileName(u"ical"_s)),
            u"Error|Chyba|Soubor %1 nelze zapsat"_s.arg(
                QDir::toNativeSeparators(dir.filePath(u"chybi/akce.ics"_s))),
            exported.arg(QDir::toNativeSeparators(dir.filePath(u"akce.ics"_s))),
            exported.arg(QDir::toNativeSeparators(dir.filePath(u"akce.csv"_s))),
            u"Warning|Upozornění|Datum Od je pozdější než datum Do."_s,
            u"Warning|Upozornění|Zadejte platná data Od a Do."_s,
            u"Information|Informace|Ve zvoleném rozsahu nejsou žádné akce, soubor nebyl vytvořen."_s }));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList({ "akce.csv", "akce.ics" }));
}

QTEST_MAIN(TestExportDialog)
#include "tst_export_dialog.moc"
