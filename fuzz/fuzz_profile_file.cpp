// The INI reader and writer on any bytes: reading never fails badly, a written
// key reads back, and writing keeps every other line.
#include "fuzz_support.h"

#include "platform/profile_file.h"

using namespace fuzz_support;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ProfileFile file;
    file.setBytes(bytesOf(data, size));
    const QString general = QStringLiteral("Obecné");
    const QString item = QStringLiteral("1. položka");
    file.readInt(general, QStringLiteral("Start"), 1);
    file.readInt(item, QStringLiteral("Barva řádku"), 0);
    file.readString(item, QStringLiteral("Písmo"), QStringLiteral("MS Sans Serif"));
    file.hasKey(general, QStringLiteral("Do roku"));

    // Parsing what the writer produced gives the same bytes again.
    const QByteArray normalised = file.bytes();
    ProfileFile reread;
    reread.setBytes(normalised);
    if (reread.bytes() != normalised)
        fail("reading and writing again changed the file");

    const QString before = file.readString(item, QStringLiteral("Název sloupce"), QStringLiteral("<none>"));
    file.writeString(general, QStringLiteral("Do roku"), QStringLiteral("2010"));
    file.writeString(general, QStringLiteral("Mřížka"), QStringLiteral("1"));
    if (file.readString(general, QStringLiteral("Do roku"), {}) != QStringLiteral("2010")
        || file.readInt(general, QStringLiteral("Mřížka"), 0) != 1)
        fail("a written key does not read back");
    if (file.readString(item, QStringLiteral("Název sloupce"), QStringLiteral("<none>")) != before)
        fail("writing one key changed another");
    ProfileFile written;
    written.setBytes(file.bytes());
    if (written.readString(general, QStringLiteral("Do roku"), {}) != QStringLiteral("2010"))
        fail("a written key does not survive the file");
    return 0;
}
