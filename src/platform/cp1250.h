#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Windows-1250, the code page of every file the program reads and writes.
// One character is one byte; the five bytes the code page leaves undefined
// (0x81, 0x83, 0x88, 0x90, 0x98) map to U+0081 ... U+0098, so every byte round-trips.
namespace cp1250 {

// The byte for a character, or -1 when the code page cannot hold it.
int byteFor(QChar c);

// Whether every character of the text can be stored.
bool canEncode(QStringView text);

// Characters the code page cannot hold become '?'. Callers that must not lose
// text check canEncode() first (edits only accept encodable characters).
QByteArray encode(QStringView text);

QString decode(QByteArrayView bytes);

} // namespace cp1250
