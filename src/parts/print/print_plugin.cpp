#include "parts/print_part.h"

#include <QObject>
#include <QPainter>
#include <QPageLayout>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QString>

#include <algorithm>

namespace {

// Everything the printer or the preview asks for, page after page.
void paintAll(PagePainter& pages, QPrinter& printer)
{
    const int count = pages.layOut(printer);
    QPainter painter;
    if (!painter.begin(&printer))
        return;
    const bool collate = printer.fromPage() > 0;
    const int first = collate ? printer.fromPage() - 1 : 0;
    const int last = collate && printer.toPage() > 0 ? std::min(printer.toPage(), count) - 1 : count - 1;
    for (int page = first; page <= last; ++page) {
        if (page > first)
            printer.newPage();
        pages.paintPage(painter, page);
    }
    painter.end();
}

} // namespace

// The print part's entry: the preview dialog on a printer of the user's choice.
class PrintPlugin final : public QObject, public PrintPart {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID ZorivkaPrintPart_iid)
    Q_INTERFACES(PrintPart)

public:
    void preview(PagePainter& pages, const QPageLayout& paper, const QString& title, QWidget* parent) override
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setPageLayout(paper);
        printer.setDocName(title);
        QPrintPreviewDialog dialog(&printer, parent);
        dialog.setObjectName(QStringLiteral("PrintPreview"));
        dialog.setWindowTitle(title);
        connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
            [&pages](QPrinter* target) { paintAll(pages, *target); });
        dialog.exec();
    }
};

#include "print_plugin.moc"
