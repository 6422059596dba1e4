#include "pageengine/PageEngine.h"

#include "pageengine/PageFont.h"
#include "pageengine/PageTable.h"
#include "pageengine/internal/PageWrap.h"
#include "pageengine/PrinterList.h"

#include <algorithm>
#include <cmath>

namespace {

// Rows are fitted by whole lines; this absorbs rounding of positions a layout adds up.
constexpr double FitEpsilon = 0.5;

PageEngine::PrintMonitorFactory &monitorFactory()
{
    static PageEngine::PrintMonitorFactory factory;
    return factory;
}

int alignCode(PageTable::Align align)
{
    switch (align) {
    case PageTable::Align::Centre: return 1;
    case PageTable::Align::Right: return 2;
    case PageTable::Align::Left: break;
    }
    return 0;
}

} // namespace

PageEngine::PageEngine(QObject *parent)
    : QObject(parent)
{
    setDefaultDevice(true);
}

// ---- device and document -------------------------------------------------------------------

void PageEngine::setDevice(const QString &name)
{
    m_device = name;
    const QSizeF paper = PrinterList::paperSize(name);
    m_pageWidth = paper.width();
    m_pageHeight = paper.height();
}

void PageEngine::setDefaultDevice(bool useDefault)
{
    if (useDefault)
        setDevice(PrinterList::defaultName());
}

QStringList PageEngine::Devices() const
{
    return PrinterList::names();
}

void PageEngine::StartDoc()
{
    m_document = PageDocument();
    m_state = DocState::Open;
    m_overlayPage = 0;
    startPage();
    emit documentChanged();
}

void PageEngine::NewPage()
{
    if (m_state != DocState::Open || m_overlayPage != 0)
        return;
    startPage();
}

void PageEngine::startPage()
{
    m_breakPending = false;
    PageData page;
    page.width = m_pageWidth;
    page.height = m_pageHeight;
    m_document.pages.append(page);
    m_line = Line();
    m_x = m_marginLeft;
    m_y = m_marginTop;
}

PrintResult PageEngine::EndDoc()
{
    m_breakPending = false;
    m_line = Line();
    m_overlayPage = 0;
    if (m_state == DocState::Open)
        m_state = DocState::Complete;
    emit documentChanged();
    if (m_preview) {
        PrintResult completed;
        completed.ok = m_state == DocState::Complete;
        if (!completed.ok)
            completed.error = QStringLiteral("There is no document to complete.");
        return completed;
    }
    return PrintDocument();
}

void PageEngine::KillDoc()
{
    m_breakPending = false;
    m_document = PageDocument();
    m_state = DocState::None;
    m_overlayPage = 0;
    m_line = Line();
    emit documentChanged();
}

bool PageEngine::StartOverlay(int page)
{
    m_breakPending = false;
    m_line = Line();
    if (page < 1 || page > m_document.pageCount()) {
        m_overlayPage = 0;
        return false;
    }
    m_overlayPage = page;
    m_x = m_marginLeft;
    m_y = m_marginTop;
    return true;
}

void PageEngine::EndOverlay()
{
    m_breakPending = false;
    m_line = Line();
    m_overlayPage = 0;
    emit documentChanged();
}

void PageEngine::setPrintMonitorFactory(PrintMonitorFactory factory)
{
    monitorFactory() = std::move(factory);
}

std::unique_ptr<PrintMonitor> PageEngine::makeMonitor() const
{
    return m_abortWindow && monitorFactory() ? monitorFactory()(*this) : nullptr;
}

PrintResult PageEngine::PrintDocument(int fromPage, int toPage)
{
    const std::unique_ptr<PrintMonitor> monitor = makeMonitor();
    m_lastPrint = PagePrinter::print(m_document, m_device, m_docName, fromPage, toPage, m_physicalPage, monitor.get());
    return m_lastPrint;
}

PrintResult PageEngine::PrintDocument(const PrinterSetup &printer, int fromPage, int toPage)
{
    const std::unique_ptr<PrintMonitor> monitor = makeMonitor();
    m_lastPrint = PagePrinter::print(m_document, printer, m_docName, fromPage, toPage, m_physicalPage, monitor.get());
    return m_lastPrint;
}

void PageEngine::Refresh()
{
    emit documentChanged();
}

// ---- settings ------------------------------------------------------------------------------

void PageEngine::setCurrentX(double twips)
{
    m_x = twips;
    m_breakPending = false;
    m_line.hasRun = false;
    m_line.runItems.clear();
    m_line.runWidth = 0;
}

void PageEngine::setCurrentY(double twips)
{
    m_y = twips;
    m_line = Line();
    m_breakPending = false;
}

void PageEngine::setFontName(const QString &name)
{
    if (!name.trimmed().isEmpty())
        m_fontName = name;
}

void PageEngine::setFontSize(double points)
{
    if (points > 0)
        m_fontSize = points;
}

bool PageEngine::setFontSize(const QString &points)
{
    bool ok = false;
    const double value = points.trimmed().toDouble(&ok);
    if (!ok || value <= 0)
        return false;
    m_fontSize = value;
    return true;
}

void PageEngine::setTextAlign(int code)
{
    m_textAlign = code;
}

PageEngine::HAlign PageEngine::hAlign() const
{
    switch (m_textAlign) {
    case AlignRightTop:
    case AlignRightBaseline:
        return HAlign::Right;
    case AlignCentre:
        return HAlign::Centre;
    default:
        return HAlign::Left;
    }
}

bool PageEngine::baselineAligned() const
{
    return m_textAlign != AlignLeftTop && m_textAlign != AlignRightTop;
}

const QFontMetricsF &PageEngine::metrics() const
{
    return PageFont::metrics(m_fontName, m_fontSize, m_fontBold);
}

double PageEngine::lineHeight() const
{
    return metrics().lineSpacing() * m_lineSpacing / 100.0;
}

double PageEngine::MeasureText(const QString &text) const
{
    double widest = 0;
    for (const QString &line : PageWrap::splitLineBreaks(text))
        widest = std::max(widest, metrics().horizontalAdvance(line));
    return widest;
}

// ---- items ---------------------------------------------------------------------------------

PageData *PageEngine::targetPage()
{
    if (m_overlayPage > 0 && m_overlayPage <= m_document.pageCount())
        return &m_document.pages[m_overlayPage - 1];
    if (m_state == DocState::Open && !m_document.pages.isEmpty())
        return &m_document.pages.last();
    return nullptr;
}

int PageEngine::addItem(const PageItem &item)
{
    PageData *page = targetPage();
    page->items.append(item);
    return page->items.size() - 1;
}

PageItem &PageEngine::itemAt(int index)
{
    return targetPage()->items[index];
}

PageItem PageEngine::textItem(const QString &text) const
{
    const QFontMetricsF &fm = metrics();
    PageItem item;
    item.kind = PageItem::Kind::Text;
    item.text = text;
    item.fontName = m_fontName;
    item.fontSize = m_fontSize;
    item.bold = m_fontBold;
    item.width = fm.horizontalAdvance(text);
    item.height = fm.ascent() + fm.descent();
    return item;
}

// ---- text ----------------------------------------------------------------------------------

void PageEngine::Text(const QString &text)
{
    writeText(text);
}

void PageEngine::Paragraph(const QString &text)
{
    if (!targetPage())
        return;
    writeText(text);
    if (m_breakPending)
        m_breakPending = false; // the text's own final line break was this paragraph's end
    else
        endLine();
}

void PageEngine::writeText(const QString &text)
{
    if (!targetPage())
        return;
    const QStringList lines = PageWrap::splitLineBreaks(text);
    for (int i = 0; i < lines.size(); ++i) {
        writePiece(lines[i]);
        if (i + 1 < lines.size())
            endLine();
    }
    if (lines.size() > 1 && lines.last().isEmpty())
        m_breakPending = true;
}

void PageEngine::writePiece(const QString &text)
{
    const QFontMetricsF &fm = metrics();
    QString rest = text;
    m_wrapping = false;
    while (!rest.isEmpty()) {
        const bool joinsRun = m_line.hasRun && m_line.runAlign == hAlign();
        const double runLeft = joinsRun ? m_line.runLeft : m_x;
        const double room = rightMargin() - runLeft - (joinsRun ? m_line.runWidth : 0);
        const bool lineHasText = m_line.active && m_line.maxLineSpacing > 0;
        // Rather than cut a word, move it to the next line when this one already holds text.
        if (lineHasText && !PageWrap::fits(fm.horizontalAdvance(rest.left(PageWrap::firstWordLength(rest))), room)) {
            endLine();
            rest = PageWrap::withoutLeadingBlanks(rest);
            m_wrapping = true;
            continue;
        }
        const QStringList parts = PageWrap::wrapLine(rest, room, fm);
        m_wrapping = m_wrapping || parts.size() > 1;
        placePiece(parts.first());
        if (parts.size() == 1)
            break;
        endLine();
        rest = PageWrap::withoutLeadingBlanks(rest.mid(parts.first().size()));
    }
    m_wrapping = false;
}

void PageEngine::placePiece(const QString &text)
{
    const QFontMetricsF &fm = metrics();
    PageItem item = textItem(text);
    item.wrapped = m_wrapping;
    if (!m_line.active) {
        m_line = Line();
        m_line.active = true;
        m_line.y = m_y;
    }
    m_breakPending = false;

    if (baselineAligned()) {
        item.baseline = m_line.y;
        item.y = item.baseline - fm.ascent();
    } else {
        item.y = m_line.y;
        item.baseline = item.y + fm.ascent();
    }
    m_line.maxLineSpacing = std::max(m_line.maxLineSpacing, fm.lineSpacing());

    const HAlign align = hAlign();
    if (!m_line.hasRun || m_line.runAlign != align) {
        m_line.hasRun = true;
        m_line.runAlign = align;
        m_line.runLeft = m_x;
        m_line.runItems.clear();
        m_line.runWidth = 0;
    }
    switch (align) {
    case HAlign::Left:
        item.x = m_x;
        m_x += item.width;
        break;
    case HAlign::Right:
        for (int index : std::as_const(m_line.runItems))
            itemAt(index).x -= item.width;
        item.x = rightMargin() - item.width;
        m_x = rightMargin();
        break;
    case HAlign::Centre: {
        for (int index : std::as_const(m_line.runItems))
            itemAt(index).x -= item.width / 2;
        const double total = m_line.runWidth + item.width;
        const double left = m_line.runLeft + (rightMargin() - m_line.runLeft - total) / 2;
        item.x = left + m_line.runWidth;
        m_x = left + total;
        break;
    }
    }
    m_line.runWidth += item.width;
    m_line.runItems.append(addItem(item));
}

void PageEngine::endLine()
{
    const double spacing = (m_line.active && m_line.maxLineSpacing > 0) ? m_line.maxLineSpacing
                                                                         : metrics().lineSpacing();
    const double y = m_line.active ? m_line.y : m_y;
    m_y = y + spacing * m_lineSpacing / 100.0;
    m_x = m_marginLeft;
    m_line = Line();
}

// ---- tables --------------------------------------------------------------------------------

bool PageEngine::AddTable(const QString &format, const QString &header, const QString &body,
                          const QVariant &, const QVariant &, bool)
{
    return AddTable(format, header, body);
}

QVector<PageEngine::TableRow> PageEngine::wrapRows(const PageTable::Rows &rows, const QVector<double> &rooms) const
{
    const QFontMetricsF &fm = metrics();
    QVector<TableRow> wrapped;
    wrapped.reserve(rows.size());
    for (const QStringList &cells : rows) {
        TableRow row;
        for (int c = 0; c < rooms.size(); ++c) {
            const QString cell = c < cells.size() ? cells[c] : QString();
            QStringList lines;
            QVector<bool> broken;
            if (!cell.isEmpty()) {
                for (const QString &line : PageWrap::splitLineBreaks(cell)) {
                    const QStringList parts = PageWrap::wrapLine(line, rooms[c], fm);
                    lines << parts;
                    broken.insert(broken.size(), parts.size(), parts.size() > 1);
                }
            }
            row.cells << lines;
            row.broken << broken;
            row.lines = std::max(row.lines, int(lines.size()));
        }
        wrapped << row;
    }
    return wrapped;
}

bool PageEngine::AddTable(const QString &format, const QString &header, const QString &body)
{
    return AddTableCells(format, PageTable::parseRows(header), PageTable::parseRows(body));
}

bool PageEngine::AddTableRow(const QString &format, const QStringList &cells)
{
    return AddTableCells(format, {}, {cells});
}

double PageEngine::MeasureTableRow(const QString &format, const QStringList &cells) const
{
    const auto columns = PageTable::parseFormat(format);
    if (!columns)
        return 0;
    QVector<double> rooms;
    for (const PageTable::Column &column : *columns)
        rooms << column.width - 2 * CellPadding;
    const QVector<TableRow> rows = wrapRows({cells}, rooms);
    return rows.isEmpty() ? 0 : rows.first().lines * lineHeight();
}

bool PageEngine::AddTableCells(const QString &format, const PageTable::Rows &header, const PageTable::Rows &body)
{
    const auto columns = PageTable::parseFormat(format);
    if (!columns || !targetPage())
        return false;
    m_line = Line();
    m_breakPending = false;

    QVector<double> widths, rooms, lefts;
    QVector<int> aligns;
    double total = 0;
    for (const PageTable::Column &column : *columns) {
        widths << column.width;
        rooms << column.width - 2 * CellPadding;
        aligns << alignCode(column.align);
        total += column.width;
    }
    double x0 = m_x;
    if (hAlign() == HAlign::Right)
        x0 = std::max(m_x, rightMargin() - total);
    else if (hAlign() == HAlign::Centre)
        x0 = m_x + (rightMargin() - m_x - total) / 2;
    double left = x0;
    for (double width : std::as_const(widths)) {
        lefts << left;
        left += width;
    }

    const QVector<TableRow> headerRows = wrapRows(header, rooms);
    const QVector<TableRow> bodyRows = wrapRows(body, rooms);
    const double lh = lineHeight();
    double headerHeight = 0;
    for (const TableRow &row : headerRows)
        headerHeight += row.lines * lh;

    // Rows are laid out by the top of their line boxes; with a baseline code CurrentY is the
    // first line's baseline, so the box starts one ascent higher.
    const double lift = baselineAligned() ? metrics().ascent() : 0;
    const bool canBreak = m_overlayPage == 0;
    const double bottom = m_pageHeight - m_marginBottom;
    double top = m_y - lift;
    double partTop = top;
    double headerBottom = -1;
    bool headerDue = !headerRows.isEmpty();
    bool freshPage = top <= m_marginTop + FitEpsilon;

    auto writeHeader = [&]() {
        for (const TableRow &row : headerRows) {
            writeTableRow(row, 0, row.lines, lefts, widths, aligns, top, lh);
            top += row.lines * lh;
        }
        headerBottom = top;
        headerDue = false;
    };
    auto breakPage = [&]() {
        drawTableBorder(x0, widths, partTop, headerBottom, top);
        startPage();
        top = m_marginTop;
        partTop = top;
        headerBottom = -1;
        headerDue = !headerRows.isEmpty();
        freshPage = true;
    };
    auto linesThatFit = [&](double above) {
        return int(std::floor((bottom - top - above + FitEpsilon) / lh));
    };

    // A header without body rows still prints, and still moves to a new page when it cannot fit.
    if (bodyRows.isEmpty() && headerDue) {
        if (canBreak && !freshPage && top + headerHeight > bottom + FitEpsilon)
            breakPage();
        writeHeader();
    }
    const int freshCapacity = int(std::floor((bottom - m_marginTop - headerHeight + FitEpsilon) / lh));
    for (const TableRow &row : bodyRows) {
        int first = 0;
        while (first < row.lines) {
            const int remaining = row.lines - first;
            int fit = canBreak ? linesThatFit(headerDue ? headerHeight : 0) : remaining;
            if (fit < remaining) {
                // The whole row goes to the next page when it fits there; a row taller than a
                // page is split, and a page too small for even one line takes one line anyway.
                if (!freshPage && (remaining <= freshCapacity || fit < 1)) {
                    breakPage();
                    continue;
                }
                fit = std::max(fit, 1);
            }
            const int count = std::min(fit, remaining);
            if (headerDue)
                writeHeader();
            writeTableRow(row, first, count, lefts, widths, aligns, top, lh);
            top += count * lh;
            first += count;
            freshPage = false;
            if (first < row.lines)
                breakPage();
        }
    }
    drawTableBorder(x0, widths, partTop, headerBottom, top);
    m_y = top + lift;
    m_x = m_marginLeft;
    return true;
}

void PageEngine::writeTableRow(const TableRow &row, int firstLine, int lineCount,
                               const QVector<double> &lefts, const QVector<double> &widths,
                               const QVector<int> &aligns, double top, double lineHeight)
{
    const double ascent = metrics().ascent();
    for (int c = 0; c < row.cells.size(); ++c) {
        const QStringList &lines = row.cells[c];
        for (int i = firstLine; i < firstLine + lineCount && i < lines.size(); ++i) {
            if (lines[i].isEmpty())
                continue;
            PageItem item = textItem(lines[i]);
            item.wrapped = row.broken[c][i];
            switch (aligns[c]) {
            case 1: item.x = lefts[c] + (widths[c] - item.width) / 2; break;
            case 2: item.x = lefts[c] + widths[c] - CellPadding - item.width; break;
            default: item.x = lefts[c] + CellPadding; break;
            }
            item.y = top + (i - firstLine) * lineHeight;
            item.baseline = item.y + ascent;
            addItem(item);
        }
    }
}

void PageEngine::drawTableBorder(double x0, const QVector<double> &widths, double top,
                                 double headerBottom, double bottom)
{
    if (m_tableBorder == BorderNone || bottom <= top)
        return;
    double right = x0;
    for (double width : widths)
        right += width;
    DrawLine(x0, top, right, top);
    DrawLine(x0, bottom, right, bottom);
    double x = x0;
    for (int c = 0; c <= widths.size(); ++c) {
        DrawLine(x, top, x, bottom);
        if (c < widths.size())
            x += widths[c];
    }
    if (headerBottom > top && headerBottom < bottom)
        DrawLine(x0, headerBottom, right, headerBottom);
}

// ---- rules and boxes -----------------------------------------------------------------------

void PageEngine::DrawLine(double x1, double y1, double x2, double y2)
{
    if (!targetPage())
        return;
    PageItem item;
    item.kind = PageItem::Kind::Rule;
    item.x = x1;
    item.y = y1;
    item.x2 = x2;
    item.y2 = y2;
    item.penWidth = m_ruleWidth;
    item.penStyle = m_ruleStyle;
    addItem(item);
}

void PageEngine::BoxedText(const QString &text, double left, double top, double width, double height)
{
    if (!targetPage())
        return;
    const QFontMetricsF &fm = metrics();
    const double lh = lineHeight();
    const double textHeight = fm.ascent() + fm.descent();
    QStringList visible;
    const QStringList lines = PageWrap::wrapText(text, width - 2 * CellPadding, fm);
    for (int i = 0; i < lines.size(); ++i) {
        if (i * lh + textHeight > height + FitEpsilon)
            break;
        visible << lines[i];
    }

    PageItem item;
    item.kind = PageItem::Kind::BoxedText;
    item.text = visible.join(QLatin1Char('\n'));
    item.fontName = m_fontName;
    item.fontSize = m_fontSize;
    item.bold = m_fontBold;
    item.x = left;
    item.y = top;
    item.width = width;
    item.height = height;
    item.baseline = top + fm.ascent();
    item.lineHeight = lh;
    item.padding = CellPadding;
    item.hAlign = hAlign() == HAlign::Centre ? 1 : hAlign() == HAlign::Right ? 2 : 0;
    addItem(item);
}
