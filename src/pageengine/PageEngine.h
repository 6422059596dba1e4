#pragma once

#include "pageengine/PageDocument.h"
#include "pageengine/PagePrinter.h"
#include "pageengine/PageTable.h"

#include <QFontMetricsF>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>

struct PrinterSetup;

// Page layout engine: holds a document of pages, each a display list in twips (1440 to the inch,
// origin at the sheet's top left corner), writes text, tables, rules and boxed text at a current
// position, and prints or previews the document. Operation names follow the layouts that use it.
//
// Document life: StartDoc opens a document with one page (any earlier document is discarded);
// NewPage adds a page; EndDoc completes it (PageCount final). Output goes to the last page of the
// open document, or between StartOverlay(n) and EndOverlay to finished page n. Output with
// neither an open document nor an overlay has no page to land on and is dropped. KillDoc
// discards the document. EndDoc prints the document when Preview is False; with Preview True it
// only completes it and PrintDocument prints it (layouts lay page numbers over the finished
// pages before printing, so they run in preview mode and call PrintDocument). Each EndDoc with
// Preview False, and each PrintDocument, is one print job.
//
// TextAlign codes (any other code acts as 6). The vertical part says which part of the text
// stands at CurrentY:
//   0 left, top          2 right, top          6 left, baseline (the default)
//   7 right, baseline    8 centred, baseline
// - Top codes put the top of the text (its ascent line) at CurrentY; baseline codes put the
//   baseline there, so pieces of several font sizes written on one line share one baseline.
// - Left text starts at CurrentX. Right text ends at the right margin (PageWidth - MarginRight).
//   Centred text is centred in the room from CurrentX to the right margin, which at the start of
//   a line (CurrentX = MarginLeft) is between the margins. Consecutive right or centred pieces on
//   one line are kept together as one run that ends at the margin / is centred as a whole.
// - Tables follow the same horizontal rule as a whole: with 0 or 6 a table starts at CurrentX;
//   with 8 it is centred in the room from CurrentX to the right margin (the date box of the
//   layouts, 3080 wide, sits exactly at PW - MR - 3080); with 2 or 7 it is pushed right so that
//   it ends at the right margin, but never starts left of CurrentX (the sales order totals at
//   CurrentX = 12240 - ML - MR - 4000 end flush right; a table wider than the room starts at
//   CurrentX).
//
// Position rules:
// - StartDoc, NewPage, StartOverlay: CurrentX = MarginLeft, CurrentY = MarginTop.
// - Text writes at the current position on the current line and moves CurrentX to the right end
//   of what it wrote; CurrentY stays until the line ends. Chr(13) (also Chr(10) and CR LF)
//   inside the text ends the line.
// - Paragraph writes like Text, then ends the line; Paragraph "" on an empty line adds an empty
//   line. A Paragraph that directly follows a Text ending in a line break takes that break as its
//   own end: Text title & Chr(13) followed by Paragraph "" makes one line, not two.
// - Ending a line: CurrentY += line height, CurrentX = MarginLeft. Line height = the font's line
//   spacing (QFontMetricsF::lineSpacing) x LineSpacing / 100, taking the tallest font written on
//   the line, or the current font for an empty line.
// - Text wider than the room left before the right margin wraps after a blank (inside a word only
//   when the word alone is wider than the line); the rest continues on the next line. Text and
//   Paragraph never start a page by themselves: layouts break pages explicitly and write page
//   feet below the bottom margin on purpose.
// - Setting CurrentY starts a fresh line at that height; setting CurrentX keeps the line.
// - AddTable writes its first row at (CurrentX, CurrentY) by the rules above and leaves CurrentY
//   where a following line would stand (one line height below its last line) and CurrentX at
//   MarginLeft.
// - DrawLine and BoxedText are placed absolutely and move nothing.
//
// Tables (AddTable and its cell forms below; strings described in PageTable.h): one table uses
// the current font for every cell. A cell's text is inset by CellPadding on both sides, wraps at
// Chr(13) and at the column width, and is aligned by its column's mark. A row is as tall as its tallest cell
// (lines x line height); its line boxes start at CurrentY, or one ascent above it with a
// baseline code. A row whose boxes would pass PageHeight - MarginBottom moves to a new page and
// starts there with its top at MarginTop, after the header rows (if any), which are repeated; a
// header never stays alone at the foot of a page. A row taller than a whole page is split
// between lines. Inside an overlay no page can be added: rows are written where they land.
//
// TableBorder: 0 draws nothing. Any other code (the layouts use 6) draws a box around the table's
// part on each page, a line between adjacent columns and a line under the header rows, with the
// current RuleWidth and RuleStyle.
//
// BoxedText writes its text wrapped inside the rectangle (inset by CellPadding left and right),
// from its top, aligned by TextAlign (left, centred or right); lines that would pass the
// rectangle's bottom are cut. No frame is drawn.
//
// Rules (DrawLine, table borders) use RuleWidth (pen width in twips; 0 is the thinnest rule
// the renderer draws) and RuleStyle (0 solid, 1 dash, 2 dot, 3 dash-dot, 4 dash-dot-dot).
//
// Fonts: FontName as the layouts name it; "Courier New" and "Arial" are measured and drawn in
// the metric-compatible Liberation Mono and Liberation Sans (PageFont). MeasureText and all
// wrapping use QFontMetricsF at one unit per twip.
class PageEngine : public QObject
{
    Q_OBJECT

public:
    enum TextAlignCode {
        AlignLeftTop = 0,
        AlignRightTop = 2,
        AlignLeftBaseline = 6,
        AlignRightBaseline = 7,
        AlignCentre = 8,
    };
    enum TableBorderCode { BorderNone = 0, BorderBoxAndColumns = 6 };

    static constexpr double CellPadding = 30;
    static constexpr double DefaultMargin = 1440;

    explicit PageEngine(QObject *parent = nullptr);

    // Device and document.
    bool PhysicalPage() const { return m_physicalPage; }
    void setPhysicalPage(bool physical) { m_physicalPage = physical; }
    QString Device() const { return m_device; }
    // Selects the printer and takes its default paper as PageWidth x PageHeight.
    void setDevice(const QString &name);
    // True selects the system's default printer ("PDF" when there is none).
    void setDefaultDevice(bool useDefault);
    QStringList Devices() const;
    bool Preview() const { return m_preview; }
    void setPreview(bool preview) { m_preview = preview; }
    // Names the print job; the "PDF" printer names its files after it.
    QString DocName() const { return m_docName; }
    void setDocName(const QString &name) { m_docName = name; }

    void StartDoc();
    void NewPage();
    PrintResult EndDoc();
    void KillDoc();
    bool IsDocOpen() const { return m_state == DocState::Open; }
    int PageCount() const { return m_document.pageCount(); }
    // False (and no overlay) when the page is not in the document.
    bool StartOverlay(int page);
    void EndOverlay();
    int OverlayPage() const { return m_overlayPage; }
    // Pages fromPage..toPage, 1-based; 0 means the first / the last page.
    PrintResult PrintDocument(int fromPage = 0, int toPage = 0);
    // The same on a printer set up in the system's printer dialog (its paper and options kept).
    PrintResult PrintDocument(const PrinterSetup &printer, int fromPage = 0, int toPage = 0);
    const PrintResult &LastPrintResult() const { return m_lastPrint; }
    // Tells the preview to repaint.
    void Refresh();

    const PageDocument &document() const { return m_document; }

    // The progress window of each print job (EndDoc, PrintDocument) while AbortWindow is True:
    // the monitor the program installed shows AbortCaption, AbortTextPage with %d the page,
    // AbortTextDevice with its two %s the printer and its port, and a button AbortTextButton
    // that cancels the job. AbortWindowPos 0 centres the window on the screen; other values put
    // it in the screen's lower right corner.
    using PrintMonitorFactory = std::function<std::unique_ptr<PrintMonitor>(const PageEngine &)>;
    // Without a factory (or with AbortWindow False) jobs print unwatched.
    static void setPrintMonitorFactory(PrintMonitorFactory factory);
    bool AbortWindow() const { return m_abortWindow; }
    void setAbortWindow(bool show) { m_abortWindow = show; }
    int AbortWindowPos() const { return m_abortWindowPos; }
    void setAbortWindowPos(int position) { m_abortWindowPos = position; }
    QString AbortCaption() const { return m_abortCaption; }
    void setAbortCaption(const QString &text) { m_abortCaption = text; }
    QString AbortTextButton() const { return m_abortTextButton; }
    void setAbortTextButton(const QString &text) { m_abortTextButton = text; }
    QString AbortTextPage() const { return m_abortTextPage; }
    void setAbortTextPage(const QString &text) { m_abortTextPage = text; }
    QString AbortTextDevice() const { return m_abortTextDevice; }
    void setAbortTextDevice(const QString &text) { m_abortTextDevice = text; }

    // Sheet and margins.
    double PageWidth() const { return m_pageWidth; }
    double PageHeight() const { return m_pageHeight; }
    double MarginLeft() const { return m_marginLeft; }
    void setMarginLeft(double twips) { m_marginLeft = twips; }
    double MarginRight() const { return m_marginRight; }
    void setMarginRight(double twips) { m_marginRight = twips; }
    double MarginTop() const { return m_marginTop; }
    void setMarginTop(double twips) { m_marginTop = twips; }
    double MarginBottom() const { return m_marginBottom; }
    void setMarginBottom(double twips) { m_marginBottom = twips; }

    // Position.
    double CurrentX() const { return m_x; }
    void setCurrentX(double twips);
    double CurrentY() const { return m_y; }
    void setCurrentY(double twips);

    // Font and text settings.
    QString FontName() const { return m_fontName; }
    void setFontName(const QString &name);
    double FontSize() const { return m_fontSize; }
    // Sizes of 0 or less are ignored.
    void setFontSize(double points);
    // Layouts pass sizes as text ("15"); text that is not a positive number is ignored (false).
    bool setFontSize(const QString &points);
    bool FontBold() const { return m_fontBold; }
    void setFontBold(bool bold) { m_fontBold = bold; }
    // Percent of single spacing; values below 1 are taken as 1.
    int LineSpacing() const { return m_lineSpacing; }
    void setLineSpacing(int percent) { m_lineSpacing = qMax(1, percent); }
    int TextAlign() const { return m_textAlign; }
    void setTextAlign(int code);

    // Output.
    void Text(const QString &text);
    void Paragraph(const QString &text);
    // Width in twips in the current font; of the widest line when the text holds line breaks.
    double MeasureText(const QString &text) const;
    int TableBorder() const { return m_tableBorder; }
    void setTableBorder(int code) { m_tableBorder = code; }
    // Tables. The format is always the layout's text ("^1440|<4460|>1000;"). Rows come in two
    // forms:
    // - AddTable: header and body as text, cells separated by "|" and rows ended by ";". Only for
    //   the fixed texts a layout gives ("ITEM NO|DESCRIPTION|QTY;"): a stored value in this text
    //   would be split at any "|" or ";" it holds and land in the wrong column or row.
    // - AddTableCells / AddTableRow: rows as lists of cells. A cell is printed as it stands, so
    //   every row that carries stored values goes this way:
    //       vs.AddTableRow(format, {itemno, description, qty});
    //       vs.AddTableCells(format, PageTable::parseRows("ITEM|QTY;"), {{a, b}, {c, d}});
    // All three lay the table out alike. False, writing nothing, when the format is unusable or
    // there is no page to write on.
    bool AddTable(const QString &format, const QString &header, const QString &body);
    // The layouts' six-argument form; the three extra arguments change nothing.
    bool AddTable(const QString &format, const QString &header, const QString &body,
                  const QVariant &, const QVariant &, bool);
    bool AddTableCells(const QString &format, const PageTable::Rows &header, const PageTable::Rows &body);
    // One body row, no header.
    bool AddTableRow(const QString &format, const QStringList &cells);
    // The height in twips that AddTableRow would give this row in the current font (its wrapped
    // lines x line height): layouts that break their own pages test whether a row fits first.
    // 0 for an unusable format.
    double MeasureTableRow(const QString &format, const QStringList &cells) const;
    void DrawLine(double x1, double y1, double x2, double y2);
    void BoxedText(const QString &text, double left, double top, double width, double height);
    double RuleWidth() const { return m_ruleWidth; }
    void setRuleWidth(double twips) { m_ruleWidth = qMax(0.0, twips); }
    int RuleStyle() const { return m_ruleStyle; }
    void setRuleStyle(int style) { m_ruleStyle = style; }

signals:
    // The document was started, completed, discarded, overlaid or refreshed.
    void documentChanged();

private:
    enum class DocState { None, Open, Complete };
    enum class HAlign { Left, Centre, Right };

    // The line being written by Text: its pieces move when later pieces join them.
    struct Line
    {
        bool active = false;
        double y = 0; // CurrentY when the line's first piece was written
        double maxLineSpacing = 0;
        bool hasRun = false;
        HAlign runAlign = HAlign::Left;
        double runLeft = 0; // CurrentX when the run began: centred runs are centred right of it
        QVector<int> runItems;
        double runWidth = 0;
    };

    struct TableRow
    {
        QVector<QStringList> cells;
        // Per cell and line: the line is part of one that was broken at the column width.
        QVector<QVector<bool>> broken;
        int lines = 1;
    };

    std::unique_ptr<PrintMonitor> makeMonitor() const;
    PageData *targetPage();
    int addItem(const PageItem &item);
    PageItem &itemAt(int index);
    HAlign hAlign() const;
    bool baselineAligned() const;
    double rightMargin() const { return m_pageWidth - m_marginRight; }
    double lineHeight() const;
    const QFontMetricsF &metrics() const;
    PageItem textItem(const QString &text) const;

    void writeText(const QString &text);
    void writePiece(const QString &text);
    void placePiece(const QString &text);
    void endLine();
    void startPage();

    QVector<TableRow> wrapRows(const PageTable::Rows &rows, const QVector<double> &rooms) const;
    void writeTableRow(const TableRow &row, int firstLine, int lineCount, const QVector<double> &lefts,
                       const QVector<double> &widths, const QVector<int> &aligns, double top,
                       double lineHeight);
    void drawTableBorder(double x0, const QVector<double> &widths, double top, double headerBottom,
                         double bottom);

    PageDocument m_document;
    DocState m_state = DocState::None;
    int m_overlayPage = 0;
    Line m_line;
    // The last Text ended with a line break that a directly following Paragraph takes as its end.
    bool m_breakPending = false;
    // Text is writing the rest of a line it had to break: its runs are marked wrapped.
    bool m_wrapping = false;
    PrintResult m_lastPrint;

    bool m_physicalPage = true;
    QString m_device;
    bool m_preview = false;
    QString m_docName;
    bool m_abortWindow = false;
    int m_abortWindowPos = 0;
    QString m_abortCaption;
    QString m_abortTextButton;
    QString m_abortTextPage;
    QString m_abortTextDevice;

    double m_pageWidth = 12240;
    double m_pageHeight = 15840;
    double m_marginLeft = DefaultMargin;
    double m_marginRight = DefaultMargin;
    double m_marginTop = DefaultMargin;
    double m_marginBottom = DefaultMargin;
    double m_x = DefaultMargin;
    double m_y = DefaultMargin;

    QString m_fontName = QStringLiteral("Courier New");
    double m_fontSize = 12;
    bool m_fontBold = false;
    int m_lineSpacing = 100;
    int m_textAlign = AlignLeftBaseline;
    int m_tableBorder = BorderNone;
    double m_ruleWidth = 0;
    int m_ruleStyle = 0;
};
