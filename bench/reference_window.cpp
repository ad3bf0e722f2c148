// The reference for the start-up benchmark: what any list window shows, with
// nothing of Zorivka's own. The same size as the main window, a toolbar of nine
// buttons with pictures, a table of four columns and 400 rows of short texts and
// a status bar of four labels.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QPainter>
#include <QStandardItemModel>
#include <QStatusBar>
#include <QTableView>
#include <QToolBar>

namespace {

QIcon picture(int number)
{
    QPixmap pixmap(24, 24);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor::fromHsv(number * 40 % 360, 180, 200));
    painter.drawEllipse(QRectF(3, 3, 18, 18));
    return QIcon(pixmap);
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Reference"));

    QToolBar* toolBar = window.addToolBar(QStringLiteral("Tools"));
    toolBar->setIconSize(QSize(24, 24));
    for (int i = 1; i <= 9; ++i)
        toolBar->addAction(picture(i), QStringLiteral("Button %1").arg(i));

    auto* model = new QStandardItemModel(400, 4, &window);
    model->setHorizontalHeaderLabels({ "Day", "Date", "Time", "Event" });
    for (int row = 0; row < model->rowCount(); ++row) {
        model->setItem(row, 0, new QStandardItem(QStringLiteral("Mo")));
        model->setItem(
            row, 1, new QStandardItem(QStringLiteral("%1.01.2004").arg(row % 28 + 1, 2, 10, QChar('0'))));
        model->setItem(row, 2, new QStandardItem(QStringLiteral("19:30")));
        model->setItem(row, 3, new QStandardItem(QStringLiteral("Concert %1").arg(row)));
    }
    auto* table = new QTableView(&window);
    table->setModel(model);
    window.setCentralWidget(table);

    for (int i = 0; i < 4; ++i)
        window.statusBar()->addWidget(new QLabel(QStringLiteral("Panel %1").arg(i)));

    window.resize(441, 554);
    window.show();
    return QApplication::exec();
}
