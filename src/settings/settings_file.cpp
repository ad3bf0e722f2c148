#include "settings/settings_file.h"

#include "calendar/day_table.h"
#include "calendar/generation.h"
#include "platform/profile_file.h"

#include <QDir>

#include <algorithm>
#include <array>
#include <type_traits>
#include <variant>

namespace settings_file {

namespace {
// A key and the field it holds. The order of these tables is the order in which
// the keys are written and read.
template <typename Record> struct Key {
    QString name;
    std::variant<bool Record::*, std::int32_t Record::*, QString Record::*> field;
};

const std::array<Key<RowItem>, 8>& itemKeys()
{
    static const std::array<Key<RowItem>, 8> keys { {
        { QStringLiteral("Tučné"), &RowItem::bold },
        { QStringLiteral("Kurzíva"), &RowItem::italic },
        { QStringLiteral("Podtržené"), &RowItem::underline },
        { QStringLiteral("Písmo"), &RowItem::font },
        { QStringLiteral("Barva řádku"), &RowItem::rowColour },
        { QStringLiteral("Barva písma"), &RowItem::fontColour },
        { QStringLiteral("Delka sloupce"), &RowItem::width },
        { QStringLiteral("Název sloupce"), &RowItem::title },
    } };
    return keys;
}

const std::array<Key<Settings>, 13>& generalKeys()
{
    static const std::array<Key<Settings>, 13> keys { {
        { QStringLiteral("Formát"), &Settings::format },
        { QStringLiteral("Počet sloupců"), &Settings::pocets },
        { QStringLiteral("Počet roků"), &Settings::pocetnroku },
        { QStringLiteral("Počet dní"), &Settings::pocetdni },
        { QStringLiteral("Do roku"), &Settings::doroku },
        { QStringLiteral("Hodnota 1"), &Settings::h1 },
        { QStringLiteral("Hodnota 2"), &Settings::h2 },
        { QStringLiteral("Start"), &Settings::start },
        { QStringLiteral("Mřížka"), &Settings::mrizka },
        { QStringLiteral("Esc"), &Settings::esc },
        { QStringLiteral("Ikona v liště"), &Settings::ikona },
        { QStringLiteral("Stavový řádek"), &Settings::statusbar },
        { QStringLiteral("Okno Jdi na.."), &Settings::jdiokno },
    } };
    return keys;
}

const QString kGeneral = QStringLiteral("Obecné");

QString itemSection(int item)
{
    return QStringLiteral("%1. položka").arg(item + 1);
}

QString pathIn(const QString& dir)
{
    return QDir(dir).filePath(kFileName);
}

// A missing flag reads as set, a missing colour as black, a missing text keeps the field.
template <typename Record, size_t N>
void readKeys(
    const ProfileFile& file, const QString& section, const std::array<Key<Record>, N>& keys, Record& record)
{
    for (const Key<Record>& key : keys) {
        std::visit(
            [&](auto member) {
                auto& field = record.*member;
                using Field = std::decay_t<decltype(field)>;
                if constexpr (std::is_same_v<Field, bool>)
                    field = file.readInt(section, key.name, 1) != 0;
                else if constexpr (std::is_same_v<Field, std::int32_t>)
                    field = file.readInt(section, key.name, 0);
                else
                    field = file.readString(section, key.name, field);
            },
            key.field);
    }
}

template <typename Record, size_t N>
void writeKeys(
    ProfileFile& file, const QString& section, const std::array<Key<Record>, N>& keys, const Record& record)
{
    for (const Key<Record>& key : keys) {
        std::visit(
            [&](auto member) {
                const auto& field = record.*member;
                using Field = std::decay_t<decltype(field)>;
                if constexpr (std::is_same_v<Field, bool>)
                    file.writeString(section, key.name, field ? QStringLiteral("1") : QStringLiteral("0"));
                else if constexpr (std::is_same_v<Field, std::int32_t>)
                    file.writeString(section, key.name, QString::number(field));
                else
                    file.writeString(section, key.name, field);
            },
            key.field);
    }
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
    for (int k = 0; k < Settings::kItemCount; ++k)
        readKeys(file, itemSection(k), itemKeys(), settings.items[static_cast<size_t>(k)]);
    readKeys(file, kGeneral, generalKeys(), settings);
    mend(settings);
}

bool write(const QString& dir, const Settings& settings)
{
    ProfileFile file;
    // Keys are written into the file as it stands, so lines of its own survive.
    if (!file.load(pathIn(dir)))
        file = ProfileFile();
    for (int k = 0; k < Settings::kItemCount; ++k)
        writeKeys(file, itemSection(k), itemKeys(), settings.items[static_cast<size_t>(k)]);
    writeKeys(file, kGeneral, generalKeys(), settings);
    return file.save(pathIn(dir));
}

void mend(Settings& settings)
{
    // Numbers are written back in their plain form: later steps compare them as texts.
    if (!isDecimal(settings.pocets) || settings.columnCount() == 0)
        settings.pocets = QStringLiteral("4");
    settings.pocets = QString::number(settings.pocets.toInt());
    if (settings.format.size() != 1 || settings.format[0] < u'0' || settings.format[0] > u'3')
        settings.format = QStringLiteral("1");
    for (int k = 0; k < Settings::kItemCount; ++k) {
        QString& width = settings.items[static_cast<size_t>(k)].width;
        if (!isDecimal(width))
            width = Settings::defaultWidth(k);
        // A width outside what the dialog allows stays as stored: the list limits it
        // when drawing, and only the user's "Ok" in the settings dialog replaces it.
        width = QString::number(width.toInt());
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
