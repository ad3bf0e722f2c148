// "prehled roku.zrk" and "prehled dnu.zrk" as the user may have them: the input
// is split at its first zero byte into the two files. Loading them never fails
// badly, and the lists in force afterwards always describe the table's range.
#include "fuzz_support.h"

#include "calendar/day_table.h"
#include "calendar/generation.h"
#include "calendar/overview_files.h"
#include "settings/settings_file.h"

using namespace fuzz_support;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray input = bytesOf(data, size);
    const qsizetype split = input.indexOf('\0');
    const QByteArray years = split < 0 ? input : input.left(split);
    const QByteArray days = split < 0 ? QByteArray() : input.mid(split + 1);

    // Line splitting and joining give the same lines back.
    const QStringList lines = overview_files::parseLines(years);
    if (overview_files::parseLines(overview_files::joinLines(lines)) != lines)
        fail("lines do not survive writing");

    writeFile(overview_files::kYearsFile, years);
    writeFile(overview_files::kDaysFile, days);
    static DayTable table;
    if (table.rowCount() == 0)
        table.appendRecords(generation::yearRows(generation::kFirstYear, 1));
    Settings settings;
    settings_file::loadLists(workDir(), settings, table);
    if (!generation::listsAreSound(table.years(), table.dayCounts()))
        fail("unsound lists were put in force");
    if (settings.doroku != table.years().last()
        || settings.pocetdni.toInt() != generation::totalDays(table.dayCounts()))
        fail("the settings disagree with the lists");
    generation::totalDays(overview_files::parseLines(days));
    return 0;
}
