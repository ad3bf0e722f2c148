#include "calendar/day_table.h"
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

// Every field differs from the defaults and from the other items'.
Settings everyFieldChanged()
{
    Settings s;
    for (int k = 0; k < 6; ++k)
        s.items[size_t(k)] = { k % 2 == 0, k % 3 == 0, k >= 4, u"Písmo č. %1"_s.arg(k), 1000 + k,
            -2147483629 + k, QString::number(25 + 50 * k), u"Vstupné pro studenty"_s.left(15 + k) };
    s.format = u"2"_s, s.pocets = u"6"_s, s.pocetnroku = u"3"_s, s.pocetdni = u"1096"_s, s.doroku = u"2006"_s;
    s.h1 = u"2"_s, s.h2 = u"1"_s, s.start = s.mrizka = s.ikona = s.jdiokno = true,
    s.esc = s.statusbar = false;
    return s;
}

// The built-in defaults as the file holds them, in its fixed order.
QString defaultText()
{
    const QStringList rowColours = u"12632256 -2147483629 7143168 -2147483645 7731711 7122156"_s.split(u' ');
    const QStringList widths = u"60 90 60 210 29 29"_s.split(u' '),
                      titles = u"Den Datum Hod. Akce 1 2"_s.split(u' ');
    QString text;
    for (int k = 0; k < 6; ++k)
        text += u"[%1. položka]|Tučné=0|Kurzíva=0|Podtržené=0|Písmo=MS Sans Serif|Barva řádku=%2|Barva "
                u"písma=0|"
                "Delka sloupce=%3|Název sloupce=%4|"_s.arg(k + 1)
                    .arg(rowColours[k], widths[k], titles[k]);
    text += u"[Obecné]|Formát=1|Počet sloupců=4|Počet roků=1|Počet dní=366|Do roku=2004|Hodnota 1=0|Hodnota "
            u"2=0|"
            "Start=0|Mřížka=0|Esc=1|Ikona v liště=0|Stavový řádek=1|Okno Jdi na..=0|"_s;
    return text.replace(u'|', u"\r\n"_s);
}

} // namespace

class SettingsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void roundTrip();
    void reading();
    void ownLinesSurviveAndFailuresReport();
};

void SettingsTest::roundTrip()
{
    for (const bool changed : { false, true }) {
        QTemporaryDir dir;
        const Settings saved = changed ? everyFieldChanged() : Settings {};
        const int years = changed ? 3 : 1;
        DayTable table;
        table.setLists(
            u"2004 2005 2006"_s.split(u' ').mid(0, years), u"366 365 365"_s.split(u' ').mid(0, years));
        QVERIFY(dir.isValid() && settings_file::save(dir.path(), saved, table));
        QByteArrayList firstBytes;
        for (const QString& file : kFiles)
            firstBytes << readRaw(dir.filePath(file));
        if (!changed)
            QCOMPARE(cp1250::decode(firstBytes[0]), defaultText());

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

void SettingsTest::reading()
{
    // No file or keys: a flag reads as set, a colour as black, a text stays as it was. Otherwise
    // a flag is set unless its value is the number 0, a colour is black unless a number.
    QList<std::tuple<QString, bool, int>> cases { { QString(), true, 0 },
        { u"[1. položka]|Barva=5|[Obecné]|Format=3"_s, true, 0 } };
    for (const auto& [value, flag, colour] : { std::tuple { u"  0 "_s, false, 0 }, { u"0x0"_s, false, 0 },
             { u"0x80000013"_s, true, -2147483629 }, { u"ne"_s, true, 0 }, { u"255abc"_s, true, 0 } }) {
        QString ini
            = u"[Obecné]|Start=%1|Mřížka=%1|Esc=%1|Ikona v liště=%1|Stavový řádek=%1|Okno Jdi na..=%1"_s;
        for (int k = 1; k <= 6; ++k)
            ini += u"|[%1. položka]|Tučné=%2|Kurzíva=%2|Podtržené=%2|Barva řádku=%2|Barva písma=%2"_s.arg(k);
        cases.append({ ini.replace(u"%2"_s, u"%1"_s).arg(value), flag, colour });
    }
    for (const auto& [ini, flag, colour] : cases) {
        QTemporaryDir dir;
        QVERIFY(dir.isValid() && (ini.isEmpty() || writeIni(dir, QString(ini).replace(u'|', u"\r\n"_s))));
        // Every flag starts the other way, so each one must be read.
        Settings s = everyFieldChanged(), expected = s;
        for (auto [settings, value] : { std::pair { &s, !flag }, { &expected, flag } }) {
            for (RowItem& item : settings->items)
                item.bold = item.italic = item.underline = value, item.rowColour = item.fontColour = colour;
            settings->start = settings->mrizka = settings->esc = settings->ikona = settings->statusbar
                = settings->jdiokno = value;
        }
        settings_file::read(dir.path(), s);
        QVERIFY2(s == expected, qPrintable(ini));
    }
    // Column counts outside 4 ... 6, unknown formats and widths that are no numbers are mended;
    // other widths are kept as stored and drawn at the nearest limit.
    for (const auto& [line, mended] : { std::pair { u"Počet sloupců=7"_s, u"4 2 60 90 210 29"_s },
             { u"Počet sloupců=3"_s, u"4 2 60 90 210 29"_s },
             { u"Počet sloupců=abc"_s, u"4 2 60 90 210 29"_s },
             { u"Počet sloupců=5"_s, u"5 2 60 90 210 29"_s }, { u"Formát=9"_s, u"6 1 60 90 210 29"_s },
             { u"Formát=3"_s, u"6 3 60 90 210 29"_s }, { u"Delka sloupce=abc"_s, u"6 2 60 90 210 29"_s },
             { u"Delka sloupce=5"_s, u"6 2 5 5 5 5"_s },
             { u"Delka sloupce=999"_s, u"6 2 999 999 999 999"_s } }) {
        QTemporaryDir dir;
        QString ini = u"[Obecné]\r\n"_s + line + u"\r\n"_s;
        for (int k = 1; line.startsWith(u"Delka"_s) && k <= 6; ++k)
            ini = u"[%1. položka]\r\n"_s.arg(k) + line + u"\r\n"_s + ini;
        QVERIFY(dir.isValid() && writeIni(dir, ini));
        Settings s;
        s.format = u"2"_s, s.pocets = u"6"_s;
        settings_file::read(dir.path(), s);
        QCOMPARE(QStringList({ s.pocets, s.format, s.items[0].width, s.items[1].width, s.items[3].width,
                                 s.items[5].width })
                     .join(u' '),
            mended);
        const int stored = s.items[0].width.toInt();
        QCOMPARE(s.width(0), stored < 20 ? 20 : stored > 300 ? 300 : stored);
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
    QVERIFY(!settings_file::save(dir.filePath(u"nowhere"_s), settings, table));
}

QTEST_GUILESS_MAIN(SettingsTest)
#include "tst_settings.moc"
