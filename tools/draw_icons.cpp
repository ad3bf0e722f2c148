// Draws the program's pictures into resources/icons: each picture at 16 and 24
// pixels, and at twice those for high-density screens; and the program's icon at
// the hicolor theme's sizes into data/icons for installing. Run it once after
// changing a picture: cmake --build build --target draw_icons &&
// build/draw_icons resources/icons data/icons
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QTransform>

#include <cstdio>
#include <functional>

namespace {

// Every picture is drawn on a 16 x 16 grid and scaled to the wanted size.
using Drawing = std::function<void(QPainter&)>;

const QColor kOutline(60, 60, 60);
const QColor kPaper(252, 252, 248);
const QColor kBlue(30, 90, 180);
const QColor kRed(200, 40, 40);
const QColor kGreen(30, 140, 50);

QPen pen(const QColor& colour, qreal width)
{
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// A sheet with a folded corner and a few lines of text.
void sheet(QPainter& p)
{
    QPainterPath page;
    page.moveTo(2.5, 1.5);
    page.lineTo(9.5, 1.5);
    page.lineTo(13.5, 5.5);
    page.lineTo(13.5, 14.5);
    page.lineTo(2.5, 14.5);
    page.closeSubpath();
    p.setPen(pen(kOutline, 1));
    p.setBrush(kPaper);
    p.drawPath(page);
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({ QPointF(9.5, 1.5), QPointF(9.5, 5.5), QPointF(13.5, 5.5) }));
    p.setPen(pen(QColor(150, 150, 150), 0.8));
    for (qreal y : { 7.5, 9.5, 11.5 })
        p.drawLine(QPointF(4.5, y), QPointF(11.5, y));
}

void badge(QPainter& p, const QColor& colour)
{
    p.setPen(pen(Qt::white, 0.8));
    p.setBrush(colour);
    p.drawEllipse(QPointF(11.5, 11.5), 4, 4);
}

void newRecord(QPainter& p)
{
    sheet(p);
    badge(p, kGreen);
    p.setPen(pen(Qt::white, 1.4));
    p.drawLine(QPointF(11.5, 9.5), QPointF(11.5, 13.5));
    p.drawLine(QPointF(9.5, 11.5), QPointF(13.5, 11.5));
}

void editRecord(QPainter& p)
{
    sheet(p);
    p.save();
    p.translate(10, 10);
    p.rotate(45);
    p.setPen(pen(kOutline, 0.8));
    p.setBrush(QColor(240, 190, 40));
    p.drawRect(QRectF(-1.5, -6, 3, 9));
    p.setBrush(QColor(230, 200, 160));
    p.drawPolygon(QPolygonF({ QPointF(-1.5, 3), QPointF(1.5, 3), QPointF(0, 6) }));
    p.restore();
}

void deleteRecord(QPainter& p)
{
    sheet(p);
    badge(p, kRed);
    p.setPen(pen(Qt::white, 1.4));
    p.drawLine(QPointF(10, 10), QPointF(13, 13));
    p.drawLine(QPointF(13, 10), QPointF(10, 13));
}

void deleteAll(QPainter& p)
{
    p.setPen(pen(kOutline, 1));
    p.setBrush(QColor(190, 195, 200));
    p.drawPolygon(
        QPolygonF({ QPointF(3.5, 4.5), QPointF(12.5, 4.5), QPointF(11.5, 14.5), QPointF(4.5, 14.5) }));
    p.drawLine(QPointF(2, 3.5), QPointF(14, 3.5));
    p.drawLine(QPointF(6.5, 3.5), QPointF(6.5, 1.5));
    p.drawLine(QPointF(6.5, 1.5), QPointF(9.5, 1.5));
    p.drawLine(QPointF(9.5, 1.5), QPointF(9.5, 3.5));
    p.setPen(pen(QColor(110, 115, 120), 0.9));
    for (qreal x : { 6.0, 8.0, 10.0 })
        p.drawLine(QPointF(x, 6.5), QPointF(x, 12.5));
}

void goTo(QPainter& p)
{
    p.setPen(pen(kBlue.darker(130), 1));
    p.setBrush(kBlue);
    p.drawPolygon(QPolygonF({ QPointF(1.5, 6), QPointF(8, 6), QPointF(8, 2.5), QPointF(14.5, 8),
        QPointF(8, 13.5), QPointF(8, 10), QPointF(1.5, 10) }));
}

void search(QPainter& p)
{
    p.setPen(pen(kOutline, 2.2));
    p.drawLine(QPointF(10, 10), QPointF(14, 14));
    p.setPen(pen(kOutline, 1.3));
    p.setBrush(QColor(200, 225, 250));
    p.drawEllipse(QPointF(6.5, 6.5), 4.5, 4.5);
}

void settings(QPainter& p)
{
    const QPointF centre(8, 8);
    QPainterPath gear;
    QPainterPath tooth;
    tooth.addRect(QRectF(-1.3, -7, 2.6, 3));
    for (int i = 0; i < 8; ++i)
        gear += QTransform().translate(centre.x(), centre.y()).rotate(i * 45.0).map(tooth);
    gear.addEllipse(centre, 5, 5);
    gear = gear.simplified();
    QPainterPath hole;
    hole.addEllipse(centre, 2, 2);
    p.setPen(pen(kOutline, 0.9));
    p.setBrush(QColor(160, 165, 175));
    p.drawPath(gear.subtracted(hole));
}

void about(QPainter& p)
{
    p.setPen(pen(kBlue.darker(130), 0.9));
    p.setBrush(kBlue);
    p.drawEllipse(QPointF(8, 8), 7, 7);
    QPainterPath mark;
    mark.moveTo(5.6, 6.2);
    mark.cubicTo(5.6, 2.8, 10.6, 2.8, 10.6, 6.0);
    mark.cubicTo(10.6, 8.0, 8, 8.0, 8, 10);
    p.setPen(pen(Qt::white, 1.8));
    p.setBrush(Qt::NoBrush);
    p.drawPath(mark);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(8, 12.6), 1.1, 1.1);
}

void exitProgram(QPainter& p)
{
    p.setPen(pen(kRed.darker(130), 0.9));
    p.setBrush(kRed);
    p.drawEllipse(QPointF(8, 8), 7, 7);
    p.setPen(pen(Qt::white, 2));
    p.drawLine(QPointF(5.2, 5.2), QPointF(10.8, 10.8));
    p.drawLine(QPointF(10.8, 5.2), QPointF(5.2, 10.8));
}

// Events leaving for another calendar: a sheet with an arrow pointing out.
void exportEvents(QPainter& p)
{
    sheet(p);
    badge(p, kBlue);
    p.setPen(pen(Qt::white, 1.4));
    p.drawLine(QPointF(9.3, 11.5), QPointF(13.5, 11.5));
    p.drawPolyline(QPolygonF({ QPointF(11.6, 9.6), QPointF(13.5, 11.5), QPointF(11.6, 13.4) }));
}

// The program's own icon: a calendar sheet with a red top and a "Z".
void program(QPainter& p)
{
    const QRectF page(1, 2, 14, 13);
    p.setPen(pen(kOutline, 0.6));
    p.setBrush(Qt::white);
    p.drawRoundedRect(page, 1, 1);
    p.setPen(Qt::NoPen);
    p.setBrush(kRed);
    p.drawRect(QRectF(page.left(), page.top(), page.width(), 4));
    p.setPen(QColor(20, 40, 120));
    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(8);
    p.setFont(font);
    p.drawText(QRectF(page.left(), page.top() + 4, page.width(), 9), Qt::AlignCenter, QStringLiteral("Z"));
}

bool write(const QString& dir, const QString& name, int size, const Drawing& draw)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 16.0, size / 16.0);
    draw(painter);
    painter.end();
    return image.save(QDir(dir).filePath(name), "PNG", 9);
}

} // namespace

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: draw_icons <resources/icons> <data/icons>\n");
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    const std::pair<const char*, Drawing> pictures[]
        = { { "new-record", newRecord }, { "edit-record", editRecord }, { "delete-record", deleteRecord },
              { "delete-all", deleteAll }, { "go-to", goTo }, { "search", search }, { "settings", settings },
              { "about", about }, { "exit", exitProgram }, { "export", exportEvents } };
    bool ok = true;
    for (const auto& [name, draw] : pictures) {
        for (int size : { 16, 24 }) {
            ok = write(dir, QStringLiteral("%1-%2.png").arg(name).arg(size), size, draw) && ok;
            ok = write(dir, QStringLiteral("%1-%2@2x.png").arg(name).arg(size), 2 * size, draw) && ok;
        }
    }
    for (int size : { 16, 24, 32, 48, 64 })
        ok = write(dir, QStringLiteral("program-%1.png").arg(size), size, program) && ok;
    // The installed icon, one folder per size as the hicolor theme wants it.
    const QDir installed(QString::fromLocal8Bit(argv[2]));
    for (int size : { 16, 22, 24, 32, 48, 64, 128, 256 }) {
        const QString sizeDir = installed.filePath(QString::number(size));
        ok = QDir().mkpath(sizeDir) && write(sizeDir, QStringLiteral("cz.zorivka.Zorivka.png"), size, program) && ok;
    }
    return ok ? 0 : 1;
}
