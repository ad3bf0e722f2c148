#pragma once

#include <QString>
#include <QStringList>

// "prehled roku.zrk" and "prehled dnu.zrk": the year list and the day-count list,
// one decimal number a line, each line ended by CR LF.
namespace overview_files {

inline const QString kYearsFile = QStringLiteral("prehled roku.zrk");
inline const QString kDaysFile = QStringLiteral("prehled dnu.zrk");

enum class LoadResult { Loaded, Missing, Unreadable };

// Reads both files into the lists, line by line as they stand. On anything but
// Loaded the lists are left as they were.
LoadResult load(const QString& dir, QStringList& years, QStringList& dayCounts);

// Writes both files atomically; false when either could not be written (a file
// that could not be written keeps its previous contents).
bool save(const QString& dir, const QStringList& years, const QStringList& dayCounts);

QStringList parseLines(const QByteArray& bytes);
QByteArray joinLines(const QStringList& lines);

} // namespace overview_files
