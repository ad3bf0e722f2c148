#pragma once

#include <QByteArray>
#include <QString>

// Whole-file reads and writes for tests that check bytes on disk.
namespace test_files {

// The file's bytes, or "<unreadable>" when it cannot be opened.
QByteArray readRaw(const QString& path);
bool writeRaw(const QString& path, const QByteArray& bytes);

} // namespace test_files
