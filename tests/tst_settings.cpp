#include "calendar/day_table.h"
#include "calendar/generation.h"
#include "settings/settings.h"
#include "settings/settings_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <iconv.h>

using namespace Qt::StringLiterals;

namespace {

// glibc's converter, so the file's code page is checked by something other than the program.
QByteArray iconvConvert(const char* to, const char* from, QByteArray input)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return "<no converter>";
    QByteArray out(input.size() * 4 + 4, '\0');
    char* in = input.data();
    size_t inLeft = size_t(input.size());
    char* outPtr = out.data();
    size_t outLeft = size_t(out.size());
    const size_t result = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (result == size_t(-1))
        return "<not convertible>";
    out.truncate(out.size() - qsizetype(outLeft));
    return out;
}

QByteArray toCp1250(const QString& text)
{
    return iconvConvert("CP1250", "UTF-8", text.toUtf8());
}

QString fromCp1250(const QByteArray& bytes)
{
    return QString::fromUtf8(iconvConvert("UTF-8", "CP1250", bytes));
}

QByteArray readRaw(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<unreadable>";
    return file.readAll();
}

bool writeRaw(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

bool writeIni(const QTemporaryDir& dir, const QString& text)
{
    return writeRaw(dir.filePath(u"nastaveni.ini"_s), toCp1250(text));
}

const QStringList kFiles { u"nastaveni.ini"_s, u"prehled roku.zrk"_s, u"prehled dnu.zrk"_s };

const QStringList kItemKeys { u"Tučné"_s, u"Kurzíva"_s, u"Podtržené"_s, u"Písmo"_s, u"Barva řádku"_s,
    u"Barva písma"_s, u"Delka sloupce"_s, u"Název sloupce"_s };
const QStringList kFlagKeys { u"Start"_s, u"Mřížka"_s, u"Esc"_s, u"Ikona v liště"_s, u"Stavový řádek"_s,
    u"Okno Jdi na.."_s };

// Every flag of the record, items first, in the file's order.
QList<bool> flagsOf(const Settings& s)
{
    QList<bool> flags;
    for (const RowItem& item : s.items)
        flags << item.bold << item.italic << item.underline;
    return flags << s.start << s.mrizka << s.esc << s.ikona << s.statusbar << s.jdiokno;
}

// An INI in which every flag key, or every colour key, has the same value.
QString iniWithAll(bool flags, const QString& value)
{
    QString text;
    for (int k = 1; k <= 6; ++k) {
        text += u"[%1. položka]\r\n"_s.arg(k);
        const QStringList keys = flags ? kItemKeys.mid(0, 3) : kItemKeys.mid(4, 2);
        for (const QString& key : keys)
            text += key + u'=' + value + u"\r\n"_s;
    }
    text += u"[Obecné]\r\n"_s;
    for (const QString& key : flags ? kFlagKeys : QStringList {})
        text += key + u'=' + value + u"\r\n"_s;
    return text;
}

Settings everyFieldChanged()
{
    Settings s;
    const QStringList fonts { u"Arial"_s, u"DejaVu Sans"_s, u"Courier New"_s, u"Tahoma"_s, u"Verdana"_s,
        u"Liberation Serif"_s };
    const QStringList titles { u"Den"_s, u"Kdy"_s, u"Začátek"_s, u"Představení"_s, u"Místo"_s, u"Vstupné"_s };
    const std::int32_t colours[] = { 0xFFFFFF, std::int32_t(0x80000005u), 255, 0, 65280, 12345 };
    for (int k = 0; k < 6; ++k) {
        RowItem& item = s.items[size_t(k)];
        item.bold = k % 2 == 0;
        item.italic = k % 3 == 0;
        item.underline = k >= 4;
        item.font = fonts[k];
        item.rowColour = colours[k];
        item.fontColour = colours[5 - k];
        item.width = QString::number(25 + 50 * k);
        item.title = titles[k];
    }
    s.format = u"2"_s;
    s.pocets = u"6"_s;
    s.pocetnroku = u"3"_s;
    s.pocetdni = u"1096"_s;
    s.doroku = u"2006"_s;
    s.h1 = u"2"_s;
    s.h2 = u"1"_s;
    s.start = s.mrizka = s.ikona = s.jdiokno = true;
    s.esc = s.statusbar = false;
    return s;
}

} // namespace

class SettingsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void builtInDefaults();
    void roundTrip_data();
    void roundTrip();
    void fileIsCp1250InFixedOrder();
    void missingKeys_data();
    void missingKeys();
    void flagValues_data();
    void flagValues();
    void colourValues_data();
    void colourValues();
    void titlesAreNotCut();
    void mending_data();
    void mending();
    void listsAgreeAfterLoad_data();
    void listsAgreeAfterLoad();
    void saveIntoMissingDirectoryFails();
};

void SettingsTest::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void SettingsTest::builtInDefaults()
{
    const Settings s;
    const std::int32_t rowColours[] = { 12632256, -2147483629, 7143168, -2147483645, 7731711, 7122156 };
    const QStringList widths { u"60"_s, u"90"_s, u"60"_s, u"210"_s, u"29"_s, u"29"_s };
    const QStringList titles { u"Den"_s, u"Datum"_s, u"Hod."_s, u"Akce"_s, u"1"_s, u"2"_s };
    for (int k = 0; k < 6; ++k) {
        const RowItem& item = s.items[size_t(k)];
        QCOMPARE(item.rowColour, rowColours[k]);
        QCOMPARE(item.fontColour, 0);
        QCOMPARE(item.font, u"MS Sans Serif"_s);
        QCOMPARE(item.width, widths[k]);
        QCOMPARE(item.title, titles[k]);
    }
    QCOMPARE(flagsOf(s), (QList<bool>(18, false) << false << false << true << false << true << false));
    const QStringList general { s.format, s.pocets, s.pocetnroku, s.pocetdni, s.doroku, s.h1, s.h2 };
    QCOMPARE(general, (QStringList { u"1"_s, u"4"_s, u"1"_s, u"366"_s, u"2004"_s, u"0"_s, u"0"_s }));
}

void SettingsTest::roundTrip_data()
{
    QTest::addColumn<bool>("changed");
    QTest::newRow("built-in defaults") << false;
    QTest::newRow("every field changed") << true;
}

void SettingsTest::roundTrip()
{
    QFETCH(bool, changed);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const Settings saved = changed ? everyFieldChanged() : Settings {};
    DayTable table;
    if (changed)
        table.setLists({ u"2004"_s, u"2005"_s, u"2006"_s }, { u"366"_s, u"365"_s, u"365"_s });
    else
        table.setLists({ u"2004"_s }, { u"366"_s });
    QVERIFY(settings_file::save(dir.path(), saved, table));
    QByteArrayList firstBytes;
    for (const QString& file : kFiles)
        firstBytes << readRaw(dir.filePath(file));

    Settings loaded = everyFieldChanged();
    loaded.format = u"3"_s; // differs from both records, so every text must be read
    DayTable loadedTable;
    const settings_file::LoadReport report = settings_file::load(dir.path(), loaded, loadedTable);
    QVERIFY(!report.listsRebuilt);
    QVERIFY(loaded == saved);
    QCOMPARE(loadedTable.years(), table.years());
    QCOMPARE(loadedTable.dayCounts(), table.dayCounts());

    QVERIFY(settings_file::save(dir.path(), loaded, loadedTable));
    for (int i = 0; i < kFiles.size(); ++i)
        QCOMPARE(readRaw(dir.filePath(kFiles[i])), firstBytes[i]);
}

void SettingsTest::fileIsCp1250InFixedOrder()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    DayTable table;
    table.setLists({ u"2004"_s }, { u"366"_s });
    QVERIFY(settings_file::save(dir.path(), Settings {}, table));
    const QByteArray raw = readRaw(dir.filePath(u"nastaveni.ini"_s));
    QVERIFY(raw.endsWith("\r\n"));
    QCOMPARE(raw.count('\n'), raw.count("\r\n"));
    QCOMPARE(raw.count('\r'), raw.count("\r\n"));
    QVERIFY(raw.contains("[1. polo\x9Eka]\r\nTu\xE8n\xE9=0\r\n"));

    const QStringList rowColours { u"12632256"_s, u"-2147483629"_s, u"7143168"_s, u"-2147483645"_s,
        u"7731711"_s, u"7122156"_s };
    const QStringList widths { u"60"_s, u"90"_s, u"60"_s, u"210"_s, u"29"_s, u"29"_s };
    const QStringList titles { u"Den"_s, u"Datum"_s, u"Hod."_s, u"Akce"_s, u"1"_s, u"2"_s };
    QStringList expected;
    for (int k = 0; k < 6; ++k) {
        expected << u"[%1. položka]"_s.arg(k + 1) << u"Tučné=0"_s << u"Kurzíva=0"_s << u"Podtržené=0"_s
                 << u"Písmo=MS Sans Serif"_s << u"Barva řádku="_s + rowColours[k] << u"Barva písma=0"_s
                 << u"Delka sloupce="_s + widths[k] << u"Název sloupce="_s + titles[k];
    }
    expected << u"[Obecné]"_s << u"Formát=1"_s << u"Počet sloupců=4"_s << u"Počet roků=1"_s
             << u"Počet dní=366"_s << u"Do roku=2004"_s << u"Hodnota 1=0"_s << u"Hodnota 2=0"_s
             << u"Start=0"_s << u"Mřížka=0"_s << u"Esc=1"_s << u"Ikona v liště=0"_s << u"Stavový řádek=1"_s
             << u"Okno Jdi na..=0"_s;
    QStringList lines = fromCp1250(raw).split(u"\r\n"_s);
    lines.removeAll(QString());
    QCOMPARE(lines, expected);
}

void SettingsTest::missingKeys_data()
{
    QTest::addColumn<QString>("ini"); // empty: no file at all
    QTest::newRow("no file") << QString();
    QTest::newRow("only the general section") << u"[Obecné]\r\n"_s;
    QTest::newRow("unrelated keys") << u"[1. položka]\r\nBarva=5\r\n[Obecné]\r\nFormat=3\r\n"_s;
}

void SettingsTest::missingKeys()
{
    QFETCH(QString, ini);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    if (!ini.isEmpty())
        QVERIFY(writeIni(dir, ini));
    Settings s = everyFieldChanged();
    for (RowItem& item : s.items)
        item.bold = item.italic = item.underline = false;
    s.start = s.mrizka = s.esc = s.ikona = s.statusbar = s.jdiokno = false;
    const Settings before = s;

    settings_file::read(dir.path(), s);
    QCOMPARE(flagsOf(s), QList<bool>(24, true));
    for (int k = 0; k < 6; ++k) {
        const RowItem& item = s.items[size_t(k)];
        const RowItem& old = before.items[size_t(k)];
        QCOMPARE(item.rowColour, 0);
        QCOMPARE(item.fontColour, 0);
        QCOMPARE(item.font, old.font);
        QCOMPARE(item.width, old.width);
        QCOMPARE(item.title, old.title);
    }
    const QStringList general { s.format, s.pocets, s.pocetnroku, s.pocetdni, s.doroku, s.h1, s.h2 };
    QCOMPARE(general, (QStringList { u"2"_s, u"6"_s, u"3"_s, u"1096"_s, u"2006"_s, u"2"_s, u"1"_s }));
}

void SettingsTest::flagValues_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("set");
    QTest::newRow("1") << u"1"_s << true;
    QTest::newRow("0") << u"0"_s << false;
    QTest::newRow("2") << u"2"_s << true;
    QTest::newRow("-1") << u"-1"_s << true;
    QTest::newRow("hex zero") << u"0x0"_s << false;
    QTest::newRow("spaced zero") << u"  0 "_s << false;
    QTest::newRow("not a number") << u"ne"_s << true;
    QTest::newRow("zero then text") << u"0abc"_s << true;
}

void SettingsTest::flagValues()
{
    QFETCH(QString, value);
    QFETCH(bool, set);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(writeIni(dir, iniWithAll(true, value)));
    Settings s;
    for (RowItem& item : s.items)
        item.bold = item.italic = item.underline = !set;
    s.start = s.mrizka = s.esc = s.ikona = s.statusbar = s.jdiokno = !set;
    settings_file::read(dir.path(), s);
    QCOMPARE(flagsOf(s), QList<bool>(24, set));
}

void SettingsTest::colourValues_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("colour");
    QTest::newRow("plain") << u"7731711"_s << 7731711;
    QTest::newRow("white") << u"16777215"_s << 16777215;
    QTest::newRow("desktop colour") << u"-2147483629"_s << -2147483629;
    QTest::newRow("desktop colour in hex") << u"0x80000013"_s << -2147483629;
    QTest::newRow("not a number") << u"stříbrná"_s << 0;
    QTest::newRow("number then text") << u"255abc"_s << 0;
    QTest::newRow("empty") << QString() << 0;
}

void SettingsTest::colourValues()
{
    QFETCH(QString, value);
    QFETCH(int, colour);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(writeIni(dir, iniWithAll(false, value)));
    Settings s = everyFieldChanged();
    settings_file::read(dir.path(), s);
    for (const RowItem& item : s.items) {
        QCOMPARE(item.rowColour, colour);
        QCOMPARE(item.fontColour, colour);
    }
}

void SettingsTest::titlesAreNotCut()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString twenty = u"Vstupné pro studenty"_s;
    QCOMPARE(twenty.size(), 20);
    Settings s;
    s.items[5].title = twenty;
    DayTable table;
    table.setLists({ u"2004"_s }, { u"366"_s });
    QVERIFY(settings_file::save(dir.path(), s, table));
    Settings loaded;
    settings_file::read(dir.path(), loaded);
    QCOMPARE(loaded.items[5].title, twenty);

    const QString byHand = u"Název sloupce psaný ručně, delší než dvacet znaků"_s;
    QVERIFY(writeIni(dir, u"[4. položka]\r\nNázev sloupce="_s + byHand + u"\r\n"_s));
    settings_file::read(dir.path(), loaded);
    QCOMPARE(loaded.items[3].title, byHand);
}

void SettingsTest::mending_data()
{
    QTest::addColumn<QString>("ini");
    QTest::addColumn<QString>("field"); // "pocets", "format" or a column number
    QTest::addColumn<QString>("expected");
    const QString general = u"[Obecné]\r\n"_s;
    QTest::newRow("7 columns") << general + u"Počet sloupců=7"_s << u"pocets"_s << u"4"_s;
    QTest::newRow("3 columns") << general + u"Počet sloupců=3"_s << u"pocets"_s << u"4"_s;
    QTest::newRow("columns abc") << general + u"Počet sloupců=abc"_s << u"pocets"_s << u"4"_s;
    QTest::newRow("5 columns kept") << general + u"Počet sloupců=5"_s << u"pocets"_s << u"5"_s;
    QTest::newRow("format 9") << general + u"Formát=9"_s << u"format"_s << u"1"_s;
    QTest::newRow("format empty") << general + u"Formát="_s << u"format"_s << u"1"_s;
    QTest::newRow("format 3 kept") << general + u"Formát=3"_s << u"format"_s << u"3"_s;
    QTest::newRow("width abc") << u"[4. položka]\r\nDelka sloupce=abc"_s << u"4"_s << u"210"_s;
    QTest::newRow("width 5") << u"[1. položka]\r\nDelka sloupce=5"_s << u"1"_s << u"20"_s;
    QTest::newRow("width 999") << u"[2. položka]\r\nDelka sloupce=999"_s << u"2"_s << u"300"_s;
    QTest::newRow("width 150 kept") << u"[6. položka]\r\nDelka sloupce=150"_s << u"6"_s << u"150"_s;
}

void SettingsTest::mending()
{
    QFETCH(QString, ini);
    QFETCH(QString, field);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(writeIni(dir, ini + u"\r\n"_s));
    Settings s;
    s.format = u"2"_s;
    s.pocets = u"6"_s;
    settings_file::read(dir.path(), s);
    if (field == u"pocets")
        QCOMPARE(s.pocets, expected);
    else if (field == u"format")
        QCOMPARE(s.format, expected);
    else
        QCOMPARE(s.items[size_t(field.toInt() - 1)].width, expected);
}

void SettingsTest::listsAgreeAfterLoad_data()
{
    QTest::addColumn<QByteArray>("yearsFile"); // null: no file
    QTest::addColumn<QByteArray>("daysFile");
    QTest::addColumn<bool>("emptyTable");
    QTest::addColumn<QStringList>("years");
    QTest::addColumn<bool>("rebuilt");
    const QStringList range { u"2004"_s, u"2005"_s, u"2006"_s };
    QTest::newRow("both missing") << QByteArray() << QByteArray() << false << range << true;
    QTest::newRow("days missing") << QByteArray("2004\r\n") << QByteArray() << false << range << true;
    QTest::newRow("not a number") << QByteArray("2004\r\n20o5\r\n") << QByteArray("366\r\n365\r\n") << false
                                  << range << true;
    QTest::newRow("counts short") << QByteArray("2004\r\n2005\r\n") << QByteArray("366\r\n") << false << range
                                  << true;
    QTest::newRow("empty table") << QByteArray() << QByteArray() << true << QStringList { u"2004"_s } << true;
    QTest::newRow("sound files win") << QByteArray("2004\r\n2005\r\n") << QByteArray("366\r\n365\r\n")
                                     << false << QStringList { u"2004"_s, u"2005"_s } << false;
}

void SettingsTest::listsAgreeAfterLoad()
{
    QFETCH(QByteArray, yearsFile);
    QFETCH(QByteArray, daysFile);
    QFETCH(bool, emptyTable);
    QFETCH(QStringList, years);
    QFETCH(bool, rebuilt);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(writeIni(dir, u"[Obecné]\r\nPočet roků=40\r\nPočet dní=999\r\nDo roku=2043\r\n"_s));
    if (!yearsFile.isNull())
        QVERIFY(writeRaw(dir.filePath(u"prehled roku.zrk"_s), yearsFile));
    if (!daysFile.isNull())
        QVERIFY(writeRaw(dir.filePath(u"prehled dnu.zrk"_s), daysFile));
    DayTable table;
    if (!emptyTable) {
        for (int year = 2004; year <= 2006; ++year)
            table.appendRecords(generation::yearRows(year, 1));
    }

    Settings s;
    const settings_file::LoadReport report = settings_file::load(dir.path(), s, table);
    QCOMPARE(report.listsRebuilt, rebuilt);
    QCOMPARE(table.years(), years);
    int days = 0;
    QStringList counts;
    for (const QString& year : years) {
        counts << QString::number(generation::daysInYear(year.toInt()));
        days += generation::daysInYear(year.toInt());
    }
    QCOMPARE(table.dayCounts(), counts);
    QCOMPARE(s.doroku, years.last());
    QCOMPARE(s.pocetnroku, QString::number(years.size()));
    QCOMPARE(s.pocetdni, QString::number(days));
}

void SettingsTest::saveIntoMissingDirectoryFails()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    DayTable table;
    table.setLists({ u"2004"_s }, { u"366"_s });
    QVERIFY(!settings_file::save(dir.filePath(u"nowhere"_s), Settings {}, table));
    QVERIFY(QDir(dir.path()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
}

QTEST_GUILESS_MAIN(SettingsTest)
#include "tst_settings.moc"
