#pragma once

#include <QString>

class DayTable;
class Messenger;

// data.zrk: the record list as 135-byte records back to back, nothing else.
namespace data_file {

inline const QString kFileName = QStringLiteral("data.zrk");

inline const QString kBackupName = QStringLiteral("data.zrk.bak");

bool exists(const QString& dir);

// How much of the file a load could read: all of it, all but a partial record at
// its end, or nothing because it could not be opened.
enum class LoadResult { Whole, Partial, Unopened };

// Empties the record list and fills it with the file's whole records. Failures
// are reported through the messenger; what could be read stays in the list.
LoadResult LoadData(const QString& dir, DayTable& table, Messenger& messenger);

enum class SaveResult { Saved, Empty, Failed };

// Writes the record list atomically without saying anything. An empty list is
// never written; a failed write leaves the previous file whole.
SaveResult writeData(const QString& dir, const DayTable& table);
// The program's message for a save that did not write the file.
void reportSave(SaveResult result, Messenger& messenger);

// writeData() and reportSave(). Returns whether the file was written.
bool SaveData(const QString& dir, const DayTable& table, Messenger& messenger);

// Copies data.zrk to data.zrk.bak beside it (atomically, replacing an older copy);
// false when the copy could not be made.
bool backUp(const QString& dir);

} // namespace data_file
