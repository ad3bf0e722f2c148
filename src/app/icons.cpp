#include "app/icons.h"

#include <QPainter>
#include <QPixmap>

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
} // namespace

QPixmap programPicture(int size)
{
    return sheet(size);
}

QIcon program()
{
    QIcon icon;
    for (int size : { 16, 24, 32, 48, 64 })
        icon.addPixmap(sheet(size));
    return icon;
}

} // namespace icons
