#include "app/icons.h"

#include <array>

// The resources live in a static library: nothing would otherwise pull them in.
static void registerPictures()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(icons);
        return true;
    }();
    Q_UNUSED(registered);
}

namespace icons {

namespace {
QIcon fromFiles(const char* name, std::initializer_list<int> sizes)
{
    registerPictures();
    QIcon icon;
    // QIcon adds the "@2x" file itself when the screens need it.
    for (int size : sizes)
        icon.addFile(QStringLiteral(":/icons/%1-%2.png").arg(QLatin1String(name)).arg(size));
    return icon;
}
} // namespace

QPixmap programPicture(int size)
{
    return program().pixmap(size, size);
}

QIcon program()
{
    return fromFiles("program", { 16, 24, 32, 48, 64 });
}

QIcon picture(Picture picture)
{
    static constexpr std::array<const char*, 9> kNames { "new-record", "edit-record", "delete-record",
        "delete-all", "go-to", "search", "settings", "about", "exit" };
    return fromFiles(kNames[static_cast<size_t>(picture)], { 16, 24 });
}

} // namespace icons
