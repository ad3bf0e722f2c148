#include "fuzz_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace fuzz_support {

const QString& workDir()
{
    // Saves are synced to disk; in memory that costs nothing, so inputs run many times faster.
    static const QString memory = QStringLiteral("/dev/shm");
    static QTemporaryDir dir(QFileInfo(memory).isWritable()
            ? memory + QStringLiteral("/zorivka-fuzz-XXXXXX")
            : QDir::tempPath() + QStringLiteral("/zorivka-fuzz-XXXXXX"));
    static const QString path = dir.path();
    return path;
}

void writeFile(const QString& name, QByteArrayView bytes)
{
    QFile file(QDir(workDir()).filePath(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(bytes.data(), bytes.size()) != bytes.size())
        fail("cannot write the input file");
}

QByteArray bytesOf(const std::uint8_t* data, std::size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

void fail(const char* what)
{
    std::fprintf(stderr, "property failed: %s\n", what);
    std::abort();
}

} // namespace fuzz_support
