// nastaveni.ini as the user may have it: any bytes. The settings load never
// fails badly, gives values the program can use, and what it saves loads back
// the same.
#include "fuzz_support.h"

#include "settings/settings_file.h"

using namespace fuzz_support;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    writeFile(settings_file::kFileName, bytesOf(data, size));
    Settings settings;
    settings_file::read(workDir(), settings);
    const int columns = settings.columnCount();
    if (columns < 4 || columns > 6)
        fail("a column count the list cannot show");
    for (int k = 0; k < Settings::kItemCount; ++k) {
        if (settings.width(k) < Settings::kMinWidth || settings.width(k) > Settings::kMaxWidth)
            fail("a column width out of range");
    }
    if (!settings_file::write(workDir(), settings))
        fail("the settings could not be written");
    Settings again;
    settings_file::read(workDir(), again);
    if (!(again == settings))
        fail("saved settings load back different");
    return 0;
}
