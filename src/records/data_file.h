#pragma once

#include <QString>

class DayTable;
class Messenger;

// data.zrk: the record list as 135-byte records back to back, nothing else.
namespace data_file {

inline const QString kFileName = QStringLiteral("data.zrk");

bool exists(const QString& dir);

// Empties the record list and fills it with the file's whole records. Failures
// are reported through the messenger; what could be read stays in the list.
void LoadData(const QString& dir, DayTable& table, Messenger& messenger);

// Writes the record list atomically. An empty list is never written; a failed
// write leaves the previous file whole. Returns whether the file was written.
bool SaveData(const QString& dir, const DayTable& table, Messenger& messenger);

} // namespace data_file
