#pragma once

#include "platform/messenger.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

// What the fuzz targets share: a directory of their own for the files they
// feed the program, and a messenger that keeps quiet.
namespace fuzz_support {

class QuietMessenger final : public Messenger {
public:
    void show(Icon, const QString&, const QString&) override { }
    bool ask(const QString&, const QString&) override { return false; }
};

// A directory that lives as long as the fuzzing process.
const QString& workDir();
// Writes the bytes to the file `name` in the work directory.
void writeFile(const QString& name, QByteArrayView bytes);
QByteArray bytesOf(const std::uint8_t* data, std::size_t size);

// Stops the run with a crash the fuzzer records: a property the program
// promises did not hold.
[[noreturn]] void fail(const char* what);

} // namespace fuzz_support
