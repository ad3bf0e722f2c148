// Writes the program's icon as PNG files for the hicolor icon theme:
//   render_icons DIR   ->   DIR/<size>/cz.zorivka.Zorivka.png
// Run once when the picture changes; the files are kept with the sources.
#include "app/icons.h"

#include <QDir>
#include <QGuiApplication>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "usage: render_icons DIR\n";
        return 1;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]));
    for (int size : { 16, 22, 24, 32, 48, 64, 128, 256 }) {
        const QString dir = root.filePath(QString::number(size));
        if (!QDir().mkpath(dir)
            || !icons::programPicture(size).save(dir + QStringLiteral("/cz.zorivka.Zorivka.png")))
            return 1;
    }
    return 0;
}
