#include "app/main_window.h"
#include "calendar/row_kind.h"
#include "export/print_dialog.h"
#include "largest_table.h"
#include "recording_messenger.h"
#include "test_files.h"
#include "widgets/date_field.h"
#include "window_fixture.h"

#include <QAction>
#include <QCheckBox>
#include <QImage>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {

QString tool(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(120000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString squeezed(QString text)
{
    return text.normalized(QString::NormalizationForm_KC).remove(QRegularExpression(u"\\s"_s));
}

// A PDF as poppler reads it: each page's text laid out, and in drawing order without blanks.
struct Pdf {
    int pages = 0;
    bool a4 = false;
    QStringList layout;
    QStringList drawn;

    explicit Pdf(const QString& path)
    {
        const QString info = tool(u"pdfinfo"_s, { path });
        pages = QRegularExpression(u"Pages:\\s+(\\d+)"_s).match(info).captured(1).toInt();
        a4 = info.contains(u"595 x 842 pts (A4)"_s);
        layout = tool(u"pdftotext"_s, { u"-layout"_s, path, u"-"_s }).split(u'\f');
        for (const QString& page : tool(u"pdftotext"_s, { u"-raw"_s, path, u"-"_s }).split(u'\f'))
            drawn << squeezed(page);
    }
};

// The page furniture on every page, and rows first ... last each whole on one page, in order.
void checkPages(const Pdf& pdf, const QString& header, const QStringList& titles,
    const std::vector<EventRecord>& records, int first, int last)
{
    QVERIFY(pdf.a4 && pdf.pages > 0 && pdf.layout.size() == pdf.pages + 1);
    QStringList pattern;
    for (const QString& title : titles)
        pattern << QRegularExpression::escape(title);
    const QRegularExpression titleLine(
        u"^"_s + pattern.join(u"\\s+"_s) + u"\\s*$"_s, QRegularExpression::MultilineOption);
    for (int page = 0; page < pdf.pages; ++page) {
        const QString& text = pdf.layout[page];
        QVERIFY2(text.startsWith(header) && text.contains(titleLine)
                && text.trimmed().endsWith(u"Strana %1 z %2"_s.arg(page + 1).arg(pdf.pages)),
            qPrintable(text));
    }
    int page = 0;
    qsizetype at = 0;
    for (int row = first; row <= last; ++row) {
        const QString texts
            = squeezed(fixture::fieldsOf(records[size_t(row)]).mid(0, titles.size()).join(u""));
        qsizetype found = pdf.drawn[page].indexOf(texts, at);
        if (found < 0 && page + 1 < pdf.pages)
            found = pdf.drawn[++page].indexOf(texts);
        QVERIFY2(found >= 0, qPrintable(u"row %1 (%2) on page %3"_s.arg(row).arg(texts).arg(page + 1)));
        at = found + texts.size();
    }
    QCOMPARE(page, pdf.pages - 1);
}

// Page 1 as an image: whether a pixel has `colour` (or, when it is invalid, any colour at all).
bool firstPageShows(const QString& pdf, const QColor& colour)
{
    const QString base = pdf + u".page"_s;
    tool(u"pdftoppm"_s, { u"-r"_s, u"40"_s, u"-png"_s, u"-singlefile"_s, pdf, base });
    const QImage image = QImage(base + u".png"_s).convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (colour.isValid()
                    ? std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green())
                            + std::abs(c.blue() - colour.blue())
                        < 12
                    : std::max({ c.red(), c.green(), c.blue() }) - std::min({ c.red(), c.green(), c.blue() })
                        > 40)
                return true;
        }
    }
    return false;
}

} // namespace

class TestPrint final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void printingWithoutItsPart();
    void monthToPdfAndPreview();
    void badInput_data();
    void badInput();
    void commandLine();

private:
    bool dialog(const char* action, const std::function<void(Tprint&)>& act);

    std::unique_ptr<QTemporaryDir> m_dir;
    RecordingMessenger m_messenger;
    std::unique_ptr<TForm1> m_window;
    QStringList m_answers; // the file names the file dialog gives
};

void TestPrint::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(fixture::freshStart(m_dir, m_messenger));
    m_window = fixture::openWindow(m_dir->path(), m_messenger, false);
    m_window->setSaveFileChooser([this](QWidget*, const QString&, const QString&, const QString&) {
        return m_answers.isEmpty() ? QString() : m_answers.takeFirst();
    });
    // Six columns (the last two narrow, so that texts wrap), Sundays in a colour of their own,
    // and February 2004 with two extra rows a day under its days.
    m_window->settings().pocets = u"6"_s;
    m_window->settings().items[row_kind::Sunday].rowColour = colour_code::rgb(30, 144, 255);
    m_window->buildListColumns();
    m_window->applySettings();
    for (int day = 29; day >= 1; --day) {
        for (const auto& [time, event] : { std::pair { "18:00", "Koncert komorního sboru v kostele" },
                 std::pair { "celý den", "Výstava obrazů a fotografií z cest po Evropě" } })
            QVERIFY(m_window->table().insertRecord(fixture::rowOf2004(day, 2) + 1,
                fixture::extraRow(QString::fromUtf8(time), QString::fromUtf8(event) + QString::number(day),
                    u"Vstupné dobrovolné, děti zdarma"_s, u"Pořádá spolek přátel hudby"_s)));
    }
    m_window->selectRow(table_rows::ofDate(m_window->table(), u"10.02.2004"_s));
}

bool TestPrint::dialog(const char* action, const std::function<void(Tprint&)>& act)
{
    return fixture::onModal<Tprint>(
        act, [this, action] { m_window->findChild<QAction*>(QString::fromLatin1(action))->trigger(); });
}

void TestPrint::printingWithoutItsPart()
{
    QTemporaryDir empty;
    qputenv("ZORIVKA_PARTS_DIR", empty.path().toLocal8Bit());
    QVERIFY(!dialog("Tisk1", [](Tprint&) {}));
    QCoreApplication::processEvents(); // the wait for a dialog that did not come
    QCOMPARE(fixture::described(m_messenger),
        QStringList(u"Error|Tisk|Tisk není k dispozici. Část programu „print“ nelze načíst: soubor "
                    "libzorivka-print.so nebyl nalezen\nStránky lze stále uložit jako PDF."_s));
    m_answers = QStringList { m_dir->filePath(u"bez tisku"_s) };
    QVERIFY(dialog("UlozitjakoPDF1", [](Tprint& dialog) { fixture::click(&dialog, u"Button1"_s); }));
    QVERIFY(Pdf(m_dir->filePath(u"bez tisku.pdf"_s)).pages > 0);
    qputenv("ZORIVKA_PARTS_DIR", ZORIVKA_PARTS_BUILD_DIR);
    m_messenger.clear();
}

void TestPrint::monthToPdfAndPreview()
{
    // The selected row's month, in colour and in black and white.
    m_answers = QStringList { m_dir->filePath(u"barevně.pdf"_s), m_dir->filePath(u"černobíle.pdf"_s) };
    for (const bool blackAndWhite : { false, true }) {
        QVERIFY(dialog("UlozitjakoPDF1", [&](Tprint& dialog) {
            QVERIFY(dialog.windowTitle() == u"Uložit jako PDF"
                && fixture::child<DateField>(&dialog, u"DateEdit1"_s)->date() == QDate(2004, 2, 1)
                && fixture::child<DateField>(&dialog, u"DateEdit2"_s)->date() == QDate(2004, 2, 29));
            fixture::child<QCheckBox>(&dialog, u"CheckBox1"_s)->setChecked(blackAndWhite);
            fixture::click(&dialog, u"Button1"_s);
            QVERIFY(!dialog.isVisible());
        }));
    }
    const QString colour = m_dir->filePath(u"barevně.pdf"_s);
    QCOMPARE(m_messenger.texts(),
        QStringList({ u"Stránky byly uloženy do souboru %1."_s.arg(colour),
            u"Stránky byly uloženy do souboru %1."_s.arg(m_dir->filePath(u"černobíle.pdf"_s)) }));
    const Pdf pdf(colour);
    QVERIFY(pdf.pages >= 2);
    checkPages(pdf, u"Zorivka – od 01.02.2004 do 29.02.2004"_s, { "Den", "Datum", "Hod.", "Akce", "1", "2" },
        m_window->table().records(), table_rows::ofDate(m_window->table(), u"01.02.2004"_s),
        table_rows::ofDate(m_window->table(), u"01.03.2004"_s) - 1);
    // 1 February 2004 is a Sunday, on page 1.
    QVERIFY(firstPageShows(colour, QColor(30, 144, 255)));
    QVERIFY(!firstPageShows(m_dir->filePath(u"černobíle.pdf"_s), QColor()));

    // The print preview shows the same pages.
    int previewPages = -1;
    QVERIFY(dialog("Tisk1", [&](Tprint& dialog) {
        QVERIFY(dialog.windowTitle() == u"Tisk");
        QVERIFY(fixture::onModal<QPrintPreviewDialog>(
            [&](QPrintPreviewDialog& preview) {
                previewPages = fixture::child<QPrintPreviewWidget>(&preview, {})->pageCount();
            },
            [&] { fixture::click(&dialog, u"Button1"_s); }));
    }));
    QCOMPARE(previewPages, pdf.pages);
}

void TestPrint::badInput_data()
{
    QTest::addColumn<QString>("from"); // typed
    QTest::addColumn<QDate>("to");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("message");
    const QDate february(2004, 2, 29);
    QTest::newRow("incomplete") << u"1002"_s << february << u"a.pdf"_s
                                << u"Warning|Upozornění|Zadejte platná data Od a Do."_s;
    QTest::newRow("from after to") << u"01032004"_s << february << u"a.pdf"_s
                                   << u"Warning|Upozornění|Datum Od je pozdější než datum Do."_s;
    QTest::newRow("outside")
        << u"01032005"_s << QDate(2005, 3, 31) << u"a.pdf"_s
        << u"Warning|Upozornění|Zvolené dny leží mimo kalendář, který sahá od 01.01.2004 do "
           "31.12.2004."_s;
    QTest::newRow("not writable") << u"01022004"_s << february << u"chybí/a.pdf"_s
                                  << u"Error|Chyba|Soubor %1 nelze zapsat: "_s;
}

void TestPrint::badInput()
{
    QFETCH(QString, from);
    QFETCH(QDate, to);
    QFETCH(QString, file);
    QFETCH(QString, message);
    m_messenger.clear();
    const QStringList before = QDir(m_dir->path()).entryList(QDir::Files);
    m_answers = QStringList { m_dir->filePath(file) };
    QVERIFY(dialog("UlozitjakoPDF1", [&](Tprint& dialog) {
        auto* field = fixture::child<DateField>(&dialog, u"DateEdit1"_s)->lineEdit();
        fixture::child<DateField>(&dialog, u"DateEdit2"_s)->setDate(to);
        field->selectAll();
        QTest::keyClicks(field, from);
        fixture::click(&dialog, u"Button1"_s);
        QVERIFY(dialog.isVisible());
    }));
    const QStringList shown = fixture::described(m_messenger);
    QVERIFY2(shown.size() == 1 && shown.first().startsWith(message.replace(u"%1"_s, m_dir->filePath(file))),
        qPrintable(shown.join(u'\n')));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), before);
}

void TestPrint::commandLine()
{
    // The real program beside the largest table's files, with no display at all.
    QTemporaryDir dir;
    const QString program = dir.filePath(u"zorivka"_s);
    QVERIFY(QFile::copy(QStringLiteral(ZORIVKA_EXECUTABLE), program));
    DayTable table;
    largest_table::fill(table);
    Settings settings;
    settings.pocets = u"6"_s;
    QVERIFY(largest_table::writeFiles(dir.path(), table, settings, m_messenger));
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : { "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM" })
        environment.remove(QString::fromLatin1(name));
    process.setProcessEnvironment(environment);
    const auto run = [&](QStringList arguments) {
        process.start(program, arguments.replaceInStrings(u"@"_s, dir.path() + u'/'));
        process.waitForFinished(300000);
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    };
    QCOMPARE(run({ "--export-pdf", "@2030.pdf", "--from", "01.01.2030", "--to", "31.12.2030", "--bw" }), 0);
    checkPages(Pdf(dir.filePath(u"2030.pdf"_s)), u"Zorivka – od 01.01.2030 do 31.12.2030"_s,
        { "Den", "Datum", "Hod.", "Akce", "1", "2" }, table.records(),
        table_rows::ofDate(table, u"01.01.2030"_s), table_rows::ofDate(table, u"01.01.2031"_s) - 1);
    QVERIFY(!firstPageShows(dir.filePath(u"2030.pdf"_s), QColor()));
    // Bad dates and unwritable files exit with 1, a range outside the calendar with 2; no file comes.
    QCOMPARE(run({ "--export-pdf", "@a.pdf", "--from", "31.02.2030" }), 1);
    QCOMPARE(run({ "--export-pdf", "@a.pdf", "--from", "02.01.2030", "--to", "01.01.2030" }), 1);
    QCOMPARE(run({ "--export-pdf", "@chybí/a.pdf", "--to", "01.01.2004" }), 1);
    const QByteArray written = test_files::readRaw(dir.filePath(u"2030.pdf"_s));
    QCOMPARE(run({ "--export-pdf", "@2030.pdf", "--from", "01.01.2101" }), 2);
    QCOMPARE(test_files::readRaw(dir.filePath(u"2030.pdf"_s)), written);
    QCOMPARE(QDir(dir.path()).entryList({ u"*.pdf"_s }), QStringList(u"2030.pdf"_s));
}

QTEST_MAIN(TestPrint)
#include "tst_print.moc"
