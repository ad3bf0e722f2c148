// data.zrk as the user may have it: any bytes. Loading never fails badly, every
// row classifies and reads, and the records hold exactly the bytes they came from.
#include "fuzz_support.h"

#include "calendar/day_table.h"
#include "calendar/row_kind.h"
#include "records/data_file.h"

#include <QStringList>

using namespace fuzz_support;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    writeFile(data_file::kFileName, bytesOf(data, size));
    QuietMessenger messenger;
    DayTable table;
    const data_file::LoadResult loaded = data_file::LoadData(workDir(), table, messenger);
    if (table.rowCount() != static_cast<int>(size / sizeof(EventRecord)))
        fail("a whole record was lost");
    if ((loaded == data_file::LoadResult::Whole) != (size % sizeof(EventRecord) == 0))
        fail("a partial record went unnoticed");

    static const holidays::Years years(QStringList { QStringLiteral("2004"), QStringLiteral("2005") });
    for (int row = 0; row < table.rowCount(); ++row) {
        const EventRecord& record = table.record(row);
        row_kind::lookOf(row_kind::classify(record, row, years), true);
        for (int field = 0; field < EventRecord::fieldCount; ++field) {
            const auto which = static_cast<EventRecord::Field>(field);
            if (record.text(which).size() > EventRecord::capacity(which))
                fail("a field reads longer than it can be");
        }
    }

    // The records hold the file's bytes exactly, so a save writes back what was read.
    const QByteArrayView held(reinterpret_cast<const char*>(table.records().data()),
        static_cast<qsizetype>(table.records().size() * sizeof(EventRecord)));
    if (held != QByteArrayView(reinterpret_cast<const char*>(data), held.size()))
        fail("the records differ from the file's bytes");
    return 0;
}
