#pragma once

#include <QtPlugin>

class QPageLayout;
class QPaintDevice;
class QPainter;
class QWidget;

// Draws the pages of a printout on any paged device (a printer, its preview, a PDF
// file). The program implements it; the print part only calls it.
class PagePainter {
public:
    virtual ~PagePainter() = default;
    // Lays the pages out for the device's paper and resolution; returns how many there are.
    virtual int layOut(const QPaintDevice& device) = 0;
    // Draws page `page` (from 0) of the last layout, the painter being on that device.
    virtual void paintPage(QPainter& painter, int page) = 0;
};

// The print part: Qt's print preview and print dialog, which need Qt's print module.
class PrintPart {
public:
    virtual ~PrintPart() = default;
    // Shows the preview of `pages` on `paper` (unless the user picks other paper) over
    // `parent`, from which the user prints; returns when it is closed.
    virtual void preview(PagePainter& pages, const QPageLayout& paper, const QString& title, QWidget* parent)
        = 0;
};

#define ZorivkaPrintPart_iid "cz.zorivka.PrintPart/1.0"
Q_DECLARE_INTERFACE(PrintPart, ZorivkaPrintPart_iid)
