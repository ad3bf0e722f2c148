#pragma once

#include "calendar/holidays.h"
#include "parts/print_part.h"
#include "widgets/row_looks.h"

#include <QDate>
#include <QFont>
#include <QPageLayout>
#include <QString>
#include <QStringList>

#include <vector>

class QTextOption;
struct EventRecord;
struct Settings;

// The day list on paper: the rows of a date range with the shown columns, each row
// in its kind's look, under a header and the column titles, with the page number
// below. The same pages go to the printer, its preview and PDF files.
namespace print_pages {

// What the list shows, taken from the window or, on the command line, from the files.
struct Source {
    const std::vector<EventRecord>* records = nullptr;
    QStringList titles; // the shown columns, from the first
    std::vector<int> widths; // their widths in the list
    RowLooks looks;
    holidays::Years holidayYears;
    bool settingsReady = true;
    bool grid = false;
    QFont font; // the list's font: the size of every look

    // The list as the settings make it, for printing without a window.
    static Source fromSettings(const std::vector<EventRecord>& records, const Settings& settings);
};

// Rows first ... last (inclusive) of the days from ... to; empty when the range holds no day row.
struct Rows {
    int first = 0;
    int last = -1;
    QDate from; // the first and last day printed
    QDate to;
    bool isEmpty() const { return last < first; }
};

// The rows of the days from `from` to `to` in the list's order, each day's extra rows with it.
Rows rowsOf(const std::vector<EventRecord>& records, const QDate& from, const QDate& to);
// The date of the day row at or above `row`; invalid when there is none.
QDate dayOf(const std::vector<EventRecord>& records, int row);
// The first and last day of the calendar.
QDate firstDay(const std::vector<EventRecord>& records);
QDate lastDay(const std::vector<EventRecord>& records);

// A4 portrait with the margins the pages are laid out in unless the printer says otherwise.
QPageLayout defaultPaper();

// The pages of one range, laid out for one device at a time.
class Pages final : public PagePainter {
public:
    Pages(const Source& source, const Rows& rows, bool blackAndWhite);

    int layOut(const QPaintDevice& device) override;
    void paintPage(QPainter& painter, int page) override;
    int pageCount() const { return static_cast<int>(m_pageStarts.size()); }

private:
    struct Style {
        QColor background;
        QColor foreground;
        int font = 0;
    };
    const Style& styleOf(int row);
    double textHeight(const QString& text, int font, double width) const;
    void paintHeader(QPainter& painter, int page) const;
    double paintTitles(QPainter& painter, double y) const;
    void paintCells(QPainter& painter, const QStringList& texts, int font, double y, double height) const;
    QStringList textsOf(int row) const;

    const Source& m_source;
    Rows m_rows;
    bool m_blackAndWhite = false;
    std::vector<QFont> m_fonts; // 0: header, 1: titles, then the rows' fonts
    std::vector<std::pair<int, Style>> m_styles; // by colour item and font item
    std::vector<double> m_x; // column edges
    std::vector<double> m_heights; // of each row
    std::vector<int> m_pageStarts; // the first row of each page (from 0)
    const QPaintDevice* m_device = nullptr;
    double m_pad = 0;
    double m_headerHeight = 0;
    double m_titleHeight = 0;
    double m_footerHeight = 0;
    double m_width = 0;
    double m_height = 0;
};

enum class Result { Written, Empty, Failed };

// Writes the pages of from ... to as a PDF file, replaced only when the new one is whole.
Result writePdf(const Source& source, const QDate& from, const QDate& to, bool blackAndWhite,
    const QString& path, QString* error = nullptr);

} // namespace print_pages
