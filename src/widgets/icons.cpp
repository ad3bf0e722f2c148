#include "widgets/icons.h"

#include <QGuiApplication>
#include <QPixmap>

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
    // Named as PNG so that no image-format plug-in is loaded to guess the format;
    // pictures drawn at twice the size when the screens need them.
    const bool dense = qApp->devicePixelRatio() > 1.0;
    for (int size : sizes) {
        const QString path = QStringLiteral(":/icons/%1-%2").arg(QLatin1String(name)).arg(size);
        icon.addPixmap(QPixmap(path + QStringLiteral(".png"), "PNG"));
        if (dense)
            icon.addPixmap(QPixmap(path + QStringLiteral("@2x.png"), "PNG"));
    }
    return icon;
}
} // namespace

QIcon program()
{
    return fromFiles("program", { 16, 24, 32, 48, 64 });
}

QIcon picture(Picture picture)
{
    static constexpr std::array<const char*, 10> kNames { "new-record", "edit-record", "delete-record",
        "delete-all", "go-to", "search", "settings", "about", "exit", "export" };
    return fromFiles(kNames[static_cast<size_t>(picture)], { 16, 24 });
}

} // namespace icons
