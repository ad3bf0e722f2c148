#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

// Parts of the program with heavy libraries of their own (printing, iCalendar, publishing)
// are plugins loaded when first used, so that start-up never pays for them. A part links
// Qt and its own library only, never the program's static libraries (their statics would
// exist twice), and talks to the program through an interface from src/parts/.
namespace parts {

// The part's file name without its directory: "libzorivka-print.so", "zorivka-print.dll".
QString fileName(const QString& name);

// Where parts are looked for, in order: $ZORIVKA_PARTS_DIR when set (and only there),
// "parts" beside the executable (the build and Windows), then the installed folder (<libdir>/zorivka/parts).
QStringList searchDirs();

// The part's root object, loaded once and kept for the life of the program; nullptr
// when it cannot be loaded, with the reason in `error` (Czech, for a message).
QObject* loadObject(const QString& name, QString* error = nullptr);

// The part's interface, or nullptr (with the reason) when missing or of another kind.
template <class Interface>
Interface* load(const QString& name, QString* error = nullptr)
{
    QObject* object = loadObject(name, error);
    auto* part = qobject_cast<Interface*>(object);
    if (object && !part && error)
        *error = QStringLiteral("Část programu „%1“ je jiné verze.").arg(name);
    return part;
}

} // namespace parts
