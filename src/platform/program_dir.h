#pragma once

#include <QString>

class Messenger;

namespace program_dir {

// Where the program keeps its four files and its lock: the executable's
// directory, or the per-user data directory when that one is not writable, so
// the files never end up split between the two. Only main() asks for it.
QString resolve();

// The same choice for a reader that writes nothing there: a missing per-user
// directory is not created.
QString locate();
// The choice itself, for tests: the preferred directory when a file can be
// created in it, otherwise the fallback (created when missing and `create` is set).
QString choose(const QString& preferred, const QString& fallback, bool create = true);

// When the program works in `dir` instead of `programDir` (which it cannot write)
// and `dir` has no data.zrk yet, copies the user's files from `programDir` into
// it, data.zrk last, and says so once. The files in `programDir` are only read.
// Returns whether files were copied.
bool adoptFiles(const QString& programDir, const QString& dir, Messenger& messenger);
// adoptFiles() from the executable's directory.
bool adoptFiles(const QString& dir, Messenger& messenger);

} // namespace program_dir
