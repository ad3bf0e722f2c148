#include "calendar/day_table.h"
#include "calendar/generation.h"
#include "platform/cp1250.h"
#include "settings/settings.h"
#include "settings/settings_file.h"

#include "test_files.h"

#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

using test_files::readRaw;
using test_files::writeRaw;

const QStringList kFiles { u"nastaveni.ini"_s, u"prehled roku.zrk"_s, u"prehled dnu.zrk"_s };

bool writeIni(const QTemporaryDir& dir, const QString& text)
{
    return writeRaw(dir.filePath(kFiles[0]), cp1250::encode(text));
}

void setAllFlags(Settings& s, bool value)
{
    for (RowItem& item : s.items)
        item.bold = item.italic = item.underline = value;
    s.start = s.mrizka = s.esc = s.ikona = s.statusbar = s.jdiokno = value;
}

Settings everyFieldChanged()
{
    Settings s;
    const QStringList fonts = u"Arial|DejaVu Sans|Courier New|Tahoma|Verdana|Liberation Serif"_s.split(u'|');
    const QStringList titles = u"Den|Kdy|Začátek|Představení|Místo|Vstupné pro studenty"_s.split(u'|');
    const std::int32_t colours[] = { 0xFFFFFF, std::int32_t(0x80000005u), 255, 0, 65280, 12345 };
    for (int k = 0; k < 6; ++k)
        s.items[size_t(k)] = { k % 2 == 0, k % 3 == 0, k >= 4, fonts[k], colours[k], colours[5 - k],
            QString::number(25 + 50 * k), titles[k] };
    s.format = u"2"_s, s.pocets = u"6"_s, s.pocetnroku = u"3"_s, s.pocetdni = u"1096"_s, s.doroku = u"2006"_s;
    s.h1 = u"2"_s, s.h2 = u"1"_s;
    s.start = s.mrizka = s.ikona = s.jdiokno = true;
    s.esc = s.statusbar = false;
    return s;
}

// The built-in defaults as the file holds them, in its fixed order.
QStringList defaultLines()
{
    const QStringList rowColours = u"12632256 -2147483629 7143168 -2147483645 7731711 7122156"_s.split(u' ');
    const QStringList widths = u"60 90 60 210 29 29"_s.split(u' '),
                      titles = u"Den Datum Hod. Akce 1 2"_s.split(u' ');
    QStringList lines;
    for (int k = 0; k < 6; ++k) {
        lines << u"[%1. položka]"_s.arg(k + 1) << u"Tučné=0"_s << u"Kurzíva=0"_s << u"Podtržené=0"_s
              << u"Písmo=MS Sans Serif"_s << u"Barva řádku="_s + rowColours[k] << u"Barva písma=0"_s
              << u"Delka sloupce="_s + widths[k] << u"Název sloupce="_s + titles[k];
    }
    return lines << u"[Obecné]"_s << u"Formát=1"_s << u"Počet sloupců=4"_s << u"Počet roků=1"_s
                 << u"Počet dní=366"_s << u"Do roku=2004"_s << u"Hodnota 1=0"_s << u"Hodnota 2=0"_s
                 << u"Start=0"_s << u"Mřížka=0"_s << u"Esc=1"_s << u"Ikona v liště=0"_s
                 << u"Stavový řádek=1"_s << u"Okno Jdi na..=0"_s;
}

} // namespace

class SettingsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void roundTrip();
    void flagsAndColours();
    void mending();
    void listsAgreeAfterLoad();
    void ownLinesSurviveAndFailuresReport();
};

void SettingsTest::roundTrip()
{
    for (const bool changed : { false, true }) {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const Settings saved = changed ? everyFieldChanged() : Settings {};
        DayTable table;
        const int years = changed ? 3 : 1;
        table.setLists(
            u"2004 2005 2006"_s.split(u' ').mid(0, years), u"366 365 365"_s.split(u' ').mid(0, years));
        QVERIFY(!settings_file::save(dir.filePath(u"nowhere"_s), saved, table));
        QVERIFY(QDir(dir.path()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
        QVERIFY(settings_file::save(dir.path(), saved, table));
        QByteArrayList firstBytes;
        for (const QString& file : kFiles)
            firstBytes << readRaw(dir.filePath(file));
        const QByteArray& ini = firstBytes[0];
        QVERIFY(ini.endsWith("\r\n") && ini.count('\n') + ini.count('\r') == 2 * ini.count("\r\n"));
        if (!changed)
            QCOMPARE(cp1250::decode(ini).split(u"\r\n"_s, Qt::SkipEmptyParts), defaultLines());

        Settings loaded = everyFieldChanged();
        loaded.format = u"3"_s; // differs from both records, so every text must be read
        DayTable loadedTable;
        QVERIFY(!settings_file::load(dir.path(), loaded, loadedTable).listsRebuilt);
        QVERIFY(loaded == saved);
        QCOMPARE(loadedTable.years() + loadedTable.dayCounts(), table.years() + table.dayCounts());
        QVERIFY(settings_file::save(dir.path(), loaded, loadedTable));
        for (int i = 0; i < kFiles.size(); ++i)
            QCOMPARE(readRaw(dir.filePath(kFiles[i])), firstBytes[i]);
    }
}

void SettingsTest::flagsAndColours()
{
    // A missing flag reads as set, a missing colour as black, a missing text leaves the field as it was.
    QList<std::tuple<QString, bool, int>> cases { { QString(), true, 0 }, { u"[Obecné]\r\n"_s, true, 0 },
        { u"[1. položka]\r\nBarva=5\r\n[Obecné]\r\nFormat=3\r\n"_s, true, 0 } };
    // Otherwise a flag is set unless its value is the number 0; a colour is black unless a number.
    const std::tuple<QString, bool, int> values[] = { { u"0"_s, false, 0 }, { u"  0 "_s, false, 0 },
        { u"0x0"_s, false, 0 }, { u"2"_s, true, 2 }, { u"7731711"_s, true, 7731711 },
        { u"-2147483629"_s, true, -2147483629 }, { u"0x80000013"_s, true, -2147483629 }, { u"ne"_s, true, 0 },
        { u"0abc"_s, true, 0 }, { u"255abc"_s, true, 0 } };
    const QStringList itemKeys = u"Tučné|Kurzíva|Podtržené|Barva řádku|Barva písma"_s.split(u'|');
    const QStringList generalKeys
        = u"Start|Mřížka|Esc|Ikona v liště|Stavový řádek|Okno Jdi na.."_s.split(u'|');
    for (const auto& [value, flag, colour] : values) {
        QString ini;
        for (int k = 0; k <= 6; ++k) {
            ini += k ? u"[%1. položka]\r\n"_s.arg(k) : u"[Obecné]\r\n"_s;
            for (const QString& key : k ? itemKeys : generalKeys)
                ini += key + u'=' + value + u"\r\n"_s;
        }
        cases.append({ ini, flag, colour });
    }
    for (const auto& [ini, flag, colour] : cases) {
        QTemporaryDir dir;
        QVERIFY(dir.isValid() && (ini.isEmpty() || writeIni(dir, ini)));
        Settings s = everyFieldChanged(), expected = s;
        setAllFlags(s, !flag);
        setAllFlags(expected, flag);
        for (RowItem& item : expected.items)
            item.rowColour = item.fontColour = colour;
        settings_file::read(dir.path(), s);
        QVERIFY2(s == expected, qPrintable(ini));
    }

    // Titles are not cut, not even one written by hand longer than the dialog allows.
    QTemporaryDir dir;
    const QString byHand = u"Název sloupce psaný ručně, delší než dvacet znaků"_s;
    QVERIFY(dir.isValid() && writeIni(dir, u"[4. položka]\r\nNázev sloupce="_s + byHand + u"\r\n"_s));
    Settings s;
    settings_file::read(dir.path(), s);
    QCOMPARE(s.items[3].title, byHand);
}

void SettingsTest::mending()
{
    // Key = value, then the column count, the format and the widths of columns 1, 2, 4 and 6 after reading.
    const std::pair<QString, QString> rows[] = { { u"Počet sloupců=7"_s, u"4 2 60 90 210 29"_s },
        { u"Počet sloupců=3"_s, u"4 2 60 90 210 29"_s }, { u"Počet sloupců=abc"_s, u"4 2 60 90 210 29"_s },
        { u"Počet sloupců=5"_s, u"5 2 60 90 210 29"_s }, { u"Počet sloupců=05"_s, u"5 2 60 90 210 29"_s },
        { u"Delka sloupce=080"_s, u"6 2 80 80 80 80"_s }, { u"Formát=9"_s, u"6 1 60 90 210 29"_s },
        { u"Formát=3"_s, u"6 3 60 90 210 29"_s }, { u"Delka sloupce=abc"_s, u"6 2 60 90 210 29"_s },
        { u"Delka sloupce=5"_s, u"6 2 5 5 5 5"_s }, { u"Delka sloupce=999"_s, u"6 2 999 999 999 999"_s },
        { u"Delka sloupce=150"_s, u"6 2 150 150 150 150"_s } };
    for (const auto& [line, expected] : rows) {
        QTemporaryDir dir;
        QString ini = u"[Obecné]\r\n"_s + line + u"\r\n"_s;
        for (int k = 1; line.startsWith(u"Delka"_s) && k <= 6; ++k)
            ini = u"[%1. položka]\r\n"_s.arg(k) + line + u"\r\n"_s + ini;
        QVERIFY(dir.isValid() && writeIni(dir, ini));
        Settings s;
        s.format = u"2"_s, s.pocets = u"6"_s;
        settings_file::read(dir.path(), s);
        const QStringList got { s.pocets, s.format, s.items[0].width, s.items[1].width, s.items[3].width,
            s.items[5].width };
        QCOMPARE(got.join(u' '), expected);
        // Widths outside what the dialog allows are kept as stored and drawn at the nearest limit.
        const int stored = s.items[0].width.toInt();
        QCOMPARE(s.width(0), stored < 20 ? 20 : stored > 300 ? 300 : stored);
    }
}

void SettingsTest::listsAgreeAfterLoad()
{
    // Years file | days file | last year of the table's rows | the lists' years after loading; "-": no file.
    const QString rows[] = { u"-|-|2006|2004 2005 2006"_s, u"2004|-|2006|2004 2005 2006"_s,
        u"2004 20o5|366 365|2006|2004 2005 2006"_s, u"2004 2005|366|2006|2004 2005 2006"_s, u"-|-|0|2004"_s,
        u"2004 2005|366 365|2006|2004 2005"_s };
    for (const QString& row : rows) {
        const QStringList parts = row.split(u'|'), years = parts[3].split(u' ');
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QVERIFY(writeIni(dir, u"[Obecné]\r\nPočet roků=40\r\nPočet dní=999\r\nDo roku=2043\r\n"_s));
        for (int i = 0; i < 2; ++i) {
            if (parts[i] != u"-")
                QVERIFY(writeRaw(dir.filePath(kFiles[i + 1]),
                    QString(parts[i]).replace(u' ', u"\r\n"_s).toLatin1() + "\r\n"));
        }
        DayTable table;
        for (int year = 2004; year <= parts[2].toInt(); ++year)
            table.appendRecords(generation::yearRows(year, 1));

        Settings s;
        // Only sound files are kept; otherwise the lists are rebuilt from the rows.
        QCOMPARE(settings_file::load(dir.path(), s, table).listsRebuilt, row != rows[5]);
        QCOMPARE(table.years(), years);
        QCOMPARE(table.dayCounts(), u"366 365 365"_s.split(u' ').mid(0, years.size()));
        QCOMPARE(s.doroku + u' ' + s.pocetnroku + u' ' + s.pocetdni,
            years.last() + u" %1 %2"_s.arg(years.size()).arg(366 + 365 * (years.size() - 1)));
    }
}

void SettingsTest::ownLinesSurviveAndFailuresReport()
{
    QTemporaryDir dir;
    QVERIFY(writeIni(dir, u"; moje poznámka\r\n[Obecné]\r\nVlastní=ano\r\nFormát=2\r\n"_s));
    DayTable table;
    table.setLists({ u"2004"_s }, { u"366"_s });
    Settings settings;
    QVERIFY(settings_file::save(dir.path(), settings, table));
    const QString ini = cp1250::decode(readRaw(dir.filePath(kFiles[0])));
    QVERIFY(ini.startsWith(u"; moje poznámka\r\n[Obecné]\r\nVlastní=ano\r\nFormát=1\r\n"_s));
    // A list file that cannot be written makes the whole save fail, and the INI is still written.
    QVERIFY(QFile::remove(dir.filePath(kFiles[2])));
    QVERIFY(QDir(dir.path()).mkdir(kFiles[2]));
    settings.format = u"0"_s;
    QVERIFY(!settings_file::save(dir.path(), settings, table));
    QVERIFY(cp1250::decode(readRaw(dir.filePath(kFiles[0]))).contains(u"Formát=0\r\n"_s));
}

QTEST_GUILESS_MAIN(SettingsTest)
#include "tst_settings.moc"
