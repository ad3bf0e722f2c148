#include "settings/settings_file.h"

#include "calendar/day_table.h"
#include "calendar/generation.h"
#include "platform/profile_file.h"

#include <QDir>

#include <algorithm>

namespace settings_file {

namespace {
const QString kFormat = QStringLiteral("Formát");
const QString kColumns = QStringLiteral("Počet sloupců");
const QString kYears = QStringLiteral("Počet roků");
const QString kDays = QStringLiteral("Počet dní");
const QString kToYear = QStringLiteral("Do roku");
const QString kValue1 = QStringLiteral("Hodnota 1");
const QString kValue2 = QStringLiteral("Hodnota 2");
const QString kStart = QStringLiteral("Start");
const QString kGrid = QStringLiteral("Mřížka");
const QString kEsc = QStringLiteral("Esc");
const QString kTrayIcon = QStringLiteral("Ikona v liště");
const QString kStatusBar = QStringLiteral("Stavový řádek");
const QString kGoToPanel = QStringLiteral("Okno Jdi na..");

const QString kBold = QStringLiteral("Tučné");
const QString kItalic = QStringLiteral("Kurzíva");
const QString kUnderline = QStringLiteral("Podtržené");
const QString kFont = QStringLiteral("Písmo");
const QString kRowColour = QStringLiteral("Barva řádku");
const QString kFontColour = QStringLiteral("Barva písma");
const QString kWidth = QStringLiteral("Delka sloupce");
const QString kTitle = QStringLiteral("Název sloupce");

const QString kGeneral = QStringLiteral("Obecné");

QString itemSection(int item)
{
    return QStringLiteral("%1. položka").arg(item + 1);
}

QString pathIn(const QString& dir)
{
    return QDir(dir).filePath(kFileName);
}

bool readFlag(const ProfileFile& file, const QString& section, const QString& key)
{
    return file.readInt(section, key, 1) != 0;
}

void readText(const ProfileFile& file, const QString& section, const QString& key, QString& field)
{
    field = file.readString(section, key, field);
}

void writeFlag(ProfileFile& file, const QString& section, const QString& key, bool value)
{
    file.writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool isDecimal(const QString& text)
{
    return !text.isEmpty() && text.size() <= 9
        && std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}
} // namespace

void read(const QString& dir, Settings& settings)
{
    ProfileFile file;
    if (!file.load(pathIn(dir)))
        file = ProfileFile();
    for (int k = 0; k < Settings::kItemCount; ++k) {
        const QString section = itemSection(k);
        RowItem& item = settings.items[static_cast<size_t>(k)];
        item.bold = readFlag(file, section, kBold);
        item.italic = readFlag(file, section, kItalic);
        item.underline = readFlag(file, section, kUnderline);
        readText(file, section, kFont, item.font);
        item.rowColour = file.readInt(section, kRowColour, 0);
        item.fontColour = file.readInt(section, kFontColour, 0);
        readText(file, section, kWidth, item.width);
        readText(file, section, kTitle, item.title);
    }
    readText(file, kGeneral, kFormat, settings.format);
    readText(file, kGeneral, kColumns, settings.pocets);
    readText(file, kGeneral, kYears, settings.pocetnroku);
    readText(file, kGeneral, kDays, settings.pocetdni);
    readText(file, kGeneral, kToYear, settings.doroku);
    readText(file, kGeneral, kValue1, settings.h1);
    readText(file, kGeneral, kValue2, settings.h2);
    settings.start = readFlag(file, kGeneral, kStart);
    settings.mrizka = readFlag(file, kGeneral, kGrid);
    settings.esc = readFlag(file, kGeneral, kEsc);
    settings.ikona = readFlag(file, kGeneral, kTrayIcon);
    settings.statusbar = readFlag(file, kGeneral, kStatusBar);
    settings.jdiokno = readFlag(file, kGeneral, kGoToPanel);
    mend(settings);
}

bool write(const QString& dir, const Settings& settings)
{
    ProfileFile file;
    // Keys are written into the file as it stands, so lines of its own survive.
    if (!file.load(pathIn(dir)))
        file = ProfileFile();
    for (int k = 0; k < Settings::kItemCount; ++k) {
        const QString section = itemSection(k);
        const RowItem& item = settings.items[static_cast<size_t>(k)];
        writeFlag(file, section, kBold, item.bold);
        writeFlag(file, section, kItalic, item.italic);
        writeFlag(file, section, kUnderline, item.underline);
        file.writeString(section, kFont, item.font);
        file.writeString(section, kRowColour, QString::number(item.rowColour));
        file.writeString(section, kFontColour, QString::number(item.fontColour));
        file.writeString(section, kWidth, item.width);
        file.writeString(section, kTitle, item.title);
    }
    file.writeString(kGeneral, kFormat, settings.format);
    file.writeString(kGeneral, kColumns, settings.pocets);
    file.writeString(kGeneral, kYears, settings.pocetnroku);
    file.writeString(kGeneral, kDays, settings.pocetdni);
    file.writeString(kGeneral, kToYear, settings.doroku);
    file.writeString(kGeneral, kValue1, settings.h1);
    file.writeString(kGeneral, kValue2, settings.h2);
    writeFlag(file, kGeneral, kStart, settings.start);
    writeFlag(file, kGeneral, kGrid, settings.mrizka);
    writeFlag(file, kGeneral, kEsc, settings.esc);
    writeFlag(file, kGeneral, kTrayIcon, settings.ikona);
    writeFlag(file, kGeneral, kStatusBar, settings.statusbar);
    writeFlag(file, kGeneral, kGoToPanel, settings.jdiokno);
    return file.save(pathIn(dir));
}

void mend(Settings& settings)
{
    if (settings.columnCount() == 0 || !isDecimal(settings.pocets))
        settings.pocets = QStringLiteral("4");
    if (settings.format.size() != 1 || settings.format[0] < u'0' || settings.format[0] > u'3')
        settings.format = QStringLiteral("1");
    for (int k = 0; k < Settings::kItemCount; ++k) {
        QString& width = settings.items[static_cast<size_t>(k)].width;
        if (!isDecimal(width))
            width = Settings::defaultWidth(k);
        const int clamped = std::clamp(width.toInt(), Settings::kMinWidth, Settings::kMaxWidth);
        if (clamped != width.toInt())
            width = QString::number(clamped);
    }
}

void agreeWithLists(Settings& settings, const QStringList& years, const QStringList& dayCounts)
{
    if (years.isEmpty())
        return;
    settings.doroku = years.last();
    settings.pocetnroku = QString::number(years.size());
    settings.pocetdni = QString::number(generation::totalDays(dayCounts));
}

LoadReport load(const QString& dir, Settings& settings, DayTable& table)
{
    read(dir, settings);
    return loadLists(dir, settings, table);
}

LoadReport loadLists(const QString& dir, Settings& settings, DayTable& table)
{
    LoadReport report;
    QStringList years;
    QStringList dayCounts;
    report.lists = overview_files::load(dir, years, dayCounts);
    if (report.lists != overview_files::LoadResult::Loaded || !generation::listsAreSound(years, dayCounts)) {
        generation::listsFromRows(table, years, dayCounts);
        report.listsRebuilt = true;
    }
    table.setLists(years, dayCounts);
    agreeWithLists(settings, years, dayCounts);
    return report;
}

bool save(const QString& dir, const Settings& settings, const DayTable& table)
{
    const bool settingsSaved = write(dir, settings);
    const bool listsSaved = overview_files::save(dir, table.years(), table.dayCounts());
    return settingsSaved && listsSaved;
}

} // namespace settings_file
