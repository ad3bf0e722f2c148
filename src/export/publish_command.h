#pragma once

#include <QString>

class QTextStream;

// zorivka --publish: publishes data.zrk to the collection remembered in nastaveni.ini, for a
// scheduled job. The password comes from the desktop's password store, or else from standard
// input when that is not a terminal. A conflict is reported and left as it is.
namespace publish_command {

// 0 when the collection is in step, 1 otherwise (the reason on `err`).
int run(const QString& programDir, QTextStream& out, QTextStream& err);

} // namespace publish_command
