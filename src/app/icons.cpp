#include "app/icons.h"

#include <QGuiApplication>
#include <QPainter>
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
QPixmap sheet(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal unit = size / 16.0;
    const QRectF page(unit, 2 * unit, 14 * unit, 13 * unit);
    painter.setPen(QPen(QColor(60, 60, 60), unit * 0.6));
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(page, unit, unit);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(200, 40, 40));
    painter.drawRect(QRectF(page.left(), page.top(), page.width(), 4 * unit));
    painter.setPen(QColor(20, 40, 120));
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(qMax(6, int(8 * unit)));
    painter.setFont(font);
    painter.drawText(QRectF(page.left(), page.top() + 4 * unit, page.width(), 9 * unit), Qt::AlignCenter,
        QStringLiteral("Z"));
    return pixmap;
}

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

QPixmap programPicture(int size)
{
    return sheet(size);
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
