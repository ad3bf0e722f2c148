#pragma once

#include <QString>

namespace program_dir {

// Where the program keeps its four files and its lock: the executable's
// directory, or the per-user data directory when that one is not writable, so
// the files never end up split between the two. Only main() asks for it.
QString resolve();

// The choice itself, for tests: the preferred directory when a file can be
// created in it, otherwise the fallback (created when missing).
QString choose(const QString& preferred, const QString& fallback);

} // namespace program_dir
