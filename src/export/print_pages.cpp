#include "export/print_pages.h"

#include "calendar/row_kind.h"
#include "export/export_events.h"
#include "records/event_record.h"
#include "settings/settings.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>
#include <QPaintDevice>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextLayout>

#include <algorithm>
#include <numeric>

namespace print_pages {

namespace {
enum Fonts { HeaderFont = 0, TitleFont = 1, FooterFont = 2 };

QDate dateOfRow(const EventRecord& record)
{
    return record.isDayRow() ? export_events::parseDate(record.text(EventRecord::Field::Date)) : QDate();
}

// Line breaks in a field stay line breaks on paper; other control characters go.
QString printable(const QString& text)
{
    QString clean = export_events::withoutControls(text);
    clean.replace(u'\n', QChar::LineSeparator);
    return clean;
}

QTextOption wrapping()
{
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    return option;
}

// Lays `text` out in lines of `width`; its height, and the lines drawn at `at` when a painter is given.
double layOutText(const QString& text, const QFont& font, const QPaintDevice* device, double width,
    QPainter* painter = nullptr, QPointF at = {})
{
    QTextLayout layout(text, font, device);
    layout.setTextOption(wrapping());
    layout.beginLayout();
    double height = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, height));
        height += line.height();
    }
    layout.endLayout();
    if (painter)
        layout.draw(painter, at);
    return height;
}
} // namespace

Source Source::fromSettings(const std::vector<EventRecord>& records, const Settings& settings)
{
    Source source;
    source.records = &records;
    for (int k = 0; k < settings.columnCount(); ++k) {
        source.titles << settings.items[static_cast<size_t>(k)].title;
        source.widths.push_back(settings.width(k));
    }
    source.font = QGuiApplication::font();
    source.looks.rebuild(settings, source.font);
    // Holidays are marked in every year of the calendar, as the window marks them once loaded.
    QStringList years;
    for (int year = firstDay(records).year(); year > 0 && year <= lastDay(records).year(); ++year)
        years << QString::number(year);
    source.holidayYears = holidays::Years(years);
    source.grid = settings.mrizka;
    return source;
}

Rows rowsOf(const std::vector<EventRecord>& records, const QDate& from, const QDate& to)
{
    Rows rows;
    const int count = static_cast<int>(records.size());
    int row = 0;
    for (; row < count; ++row) {
        const QDate date = dateOfRow(records[static_cast<size_t>(row)]);
        if (date.isValid() && (!from.isValid() || date >= from)) {
            if (to.isValid() && date > to)
                return rows;
            rows.from = rows.to = date;
            break;
        }
    }
    rows.first = row;
    for (++row; row < count; ++row) {
        const QDate date = dateOfRow(records[static_cast<size_t>(row)]);
        if (date.isValid() && to.isValid() && date > to)
            break;
        if (date.isValid())
            rows.to = date;
    }
    rows.last = rows.from.isValid() ? row - 1 : -1;
    return rows;
}

QDate dayOf(const std::vector<EventRecord>& records, int row)
{
    for (row = std::min(row, static_cast<int>(records.size()) - 1); row >= 0; --row) {
        if (records[static_cast<size_t>(row)].isDayRow())
            return dateOfRow(records[static_cast<size_t>(row)]);
    }
    return {};
}

QDate firstDay(const std::vector<EventRecord>& records)
{
    for (const EventRecord& record : records) {
        if (const QDate date = dateOfRow(record); date.isValid())
            return date;
    }
    return {};
}

QDate lastDay(const std::vector<EventRecord>& records)
{
    for (auto it = records.rbegin(); it != records.rend(); ++it) {
        if (const QDate date = dateOfRow(*it); date.isValid())
            return date;
    }
    return {};
}

QPageLayout defaultPaper()
{
    return QPageLayout(
        QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
}

Pages::Pages(const Source& source, const Rows& rows, bool blackAndWhite)
    : m_source(source)
    , m_rows(rows)
    , m_blackAndWhite(blackAndWhite)
{
}

const Pages::Style& Pages::styleOf(int row)
{
    const EventRecord& record = (*m_source.records)[static_cast<size_t>(row)];
    const row_kind::Look look
        = row_kind::lookOf(row_kind::classify(record, row, m_source.holidayYears), m_source.settingsReady);
    const int key = (look.colourItem + 1) * 8 + look.fontItem + 1;
    for (const auto& [k, style] : m_styles) {
        if (k == key)
            return style;
    }
    Style style { Qt::white, Qt::black, static_cast<int>(m_fonts.size()) };
    QFont font = look.fontItem < 0 ? m_source.font : m_source.looks.look(look.fontItem).font;
    if (m_blackAndWhite) {
        // Without colours the kinds keep apart by style alone: Saturdays italic, Sundays
        // and holidays bold, events bold italic.
        const int kind = look.colourItem;
        font.setUnderline(false);
        font.setItalic(kind == row_kind::Saturday || kind == row_kind::Event);
        font.setBold(kind == row_kind::Sunday || kind == row_kind::Holiday || kind == row_kind::Event);
    } else if (look.colourItem >= 0) {
        style.background = m_source.looks.look(look.colourItem).background;
        style.foreground = m_source.looks.look(look.colourItem).foreground;
    }
    m_fonts.push_back(font);
    m_styles.emplace_back(key, style);
    return m_styles.back().second;
}

double Pages::textHeight(const QString& text, int font, double width) const
{
    const QFontMetricsF metrics(m_fonts[static_cast<size_t>(font)], m_device);
    // Most cells hold one short line: no layout needed for them.
    if (!text.contains(QChar::LineSeparator) && metrics.horizontalAdvance(text) <= width)
        return metrics.height();
    return layOutText(text, m_fonts[static_cast<size_t>(font)], m_device, width);
}

QStringList Pages::textsOf(int row) const
{
    const EventRecord& record = (*m_source.records)[static_cast<size_t>(row)];
    QStringList texts;
    for (int k = 0; k < m_source.titles.size() && k < EventRecord::fieldCount; ++k)
        texts << printable(record.text(EventRecord::Field(k)));
    return texts;
}

int Pages::layOut(const QPaintDevice& device)
{
    m_device = &device;
    m_width = device.width();
    m_height = device.height();
    m_pad = device.logicalDpiY() / 25.4 * 0.6;
    QFont header = m_source.font;
    header.setBold(true);
    if (m_source.font.pointSizeF() > 0) // a font sized in pixels keeps its size
        header.setPointSizeF(m_source.font.pointSizeF() * 1.25);
    QFont titles = m_source.font;
    titles.setBold(true);
    m_fonts = { header, titles, m_source.font };
    m_styles.clear();

    const double total = std::max(1, std::accumulate(m_source.widths.begin(), m_source.widths.end(), 0));
    m_x = { 0 };
    for (const int width : m_source.widths)
        m_x.push_back(m_x.back() + m_width * width / total);

    const auto rowHeight = [this](const QStringList& texts, int font) {
        double height = 0;
        for (int k = 0; k < texts.size(); ++k)
            height = std::max(height, textHeight(texts[k], font, m_x[k + 1] - m_x[k] - 2 * m_pad));
        return height + 2 * m_pad;
    };
    m_headerHeight = QFontMetricsF(header, m_device).height() + 3 * m_pad;
    m_titleHeight = rowHeight(m_source.titles, TitleFont);
    m_footerHeight = QFontMetricsF(m_source.font, m_device).height() + 3 * m_pad;
    const double body = m_height - m_headerHeight - m_titleHeight - m_footerHeight;

    m_heights.clear();
    m_pageStarts = { 0 };
    double y = 0;
    for (int row = m_rows.first; row <= m_rows.last; ++row) {
        const double height = rowHeight(textsOf(row), styleOf(row).font);
        // A row goes whole to the next page when it does not fit under the last one.
        if (y > 0 && y + height > body) {
            m_pageStarts.push_back(row - m_rows.first);
            y = 0;
        }
        m_heights.push_back(height);
        y += height;
    }
    return pageCount();
}

void Pages::paintCells(QPainter& painter, const QStringList& texts, int font, double y, double height) const
{
    const QFont& face = m_fonts[static_cast<size_t>(font)];
    const QFontMetricsF metrics(face, m_device);
    painter.setFont(face);
    for (int k = 0; k < texts.size(); ++k) {
        const double width = m_x[k + 1] - m_x[k] - 2 * m_pad;
        const QPointF at(m_x[k] + m_pad, y + m_pad);
        if (!texts[k].contains(QChar::LineSeparator) && metrics.horizontalAdvance(texts[k]) <= width)
            painter.drawText(at + QPointF(0, metrics.ascent()), texts[k]);
        else
            layOutText(texts[k], face, m_device, width, &painter, at);
        if (m_source.grid && k > 0)
            painter.drawLine(QPointF(m_x[k], y), QPointF(m_x[k], y + height));
    }
}

void Pages::paintHeader(QPainter& painter, int page) const
{
    painter.setPen(Qt::black);
    painter.setFont(m_fonts[HeaderFont]);
    painter.drawText(QRectF(0, 0, m_width, m_headerHeight - m_pad), Qt::AlignLeft | Qt::AlignTop,
        QStringLiteral("Zorivka – od %1 do %2")
            .arg(export_events::dateText(m_rows.from), export_events::dateText(m_rows.to)));
    painter.setFont(m_fonts[FooterFont]);
    painter.drawText(QRectF(0, m_height - m_footerHeight + m_pad, m_width, m_footerHeight - m_pad),
        Qt::AlignHCenter | Qt::AlignBottom, QStringLiteral("Strana %1 z %2").arg(page + 1).arg(pageCount()));
}

double Pages::paintTitles(QPainter& painter, double y) const
{
    painter.setPen(Qt::black);
    paintCells(painter, m_source.titles, TitleFont, y, m_titleHeight);
    y += m_titleHeight;
    painter.drawLine(QPointF(0, y), QPointF(m_width, y));
    return y;
}

void Pages::paintPage(QPainter& painter, int page)
{
    if (page < 0 || page >= pageCount())
        return;
    paintHeader(painter, page);
    double y = paintTitles(painter, m_headerHeight);
    const int end = page + 1 < pageCount() ? m_pageStarts[static_cast<size_t>(page) + 1]
                                           : static_cast<int>(m_heights.size());
    for (int index = m_pageStarts[static_cast<size_t>(page)]; index < end; ++index) {
        const int row = m_rows.first + index;
        const double height = m_heights[static_cast<size_t>(index)];
        const Style style = styleOf(row);
        if (style.background != Qt::white)
            painter.fillRect(QRectF(0, y, m_width, height), style.background);
        painter.setPen(style.foreground);
        paintCells(painter, textsOf(row), style.font, y, height);
        if (m_source.grid)
            painter.drawLine(QPointF(0, y + height), QPointF(m_width, y + height));
        y += height;
    }
}

Result writePdf(const Source& source, const QDate& from, const QDate& to, bool blackAndWhite,
    const QString& path, QString* error)
{
    const Rows rows = rowsOf(*source.records, from, to);
    if (rows.isEmpty())
        return Result::Empty;
    // A PDF that could not be written whole never replaces the previous one.
    QSaveFile file(path);
    const auto failed = [&file, error](const QString& reason) {
        if (error)
            *error = reason;
        file.cancelWriting();
        return Result::Failed;
    };
    if (!file.open(QIODevice::WriteOnly))
        return failed(file.errorString());
    QPdfWriter writer(&file);
    writer.setPageLayout(defaultPaper());
    writer.setCreator(QStringLiteral("Zorivka"));
    writer.setTitle(QStringLiteral("Zorivka – od %1 do %2")
                        .arg(export_events::dateText(rows.from), export_events::dateText(rows.to)));
    Pages pages(source, rows, blackAndWhite);
    const int count = pages.layOut(writer);
    QPainter painter;
    if (!painter.begin(&writer))
        return failed(file.errorString());
    for (int page = 0; page < count; ++page) {
        if (page > 0)
            writer.newPage();
        pages.paintPage(painter, page);
    }
    if (!painter.end() || file.error() != QFileDevice::NoError)
        return failed(file.errorString());
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return Result::Failed;
    }
    return Result::Written;
}

} // namespace print_pages
