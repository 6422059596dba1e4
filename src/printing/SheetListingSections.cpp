// The listing sections of the generic print run's sheets: the column header, the grouped picking
// list and the changed-lines list, each breaking its own pages.

#include "printing/GenericPrintRun.h"

#include "module1/Module1.h"
#include "pageengine/PageEngine.h"
#include "pageengine/PageFont.h"
#include "runtime/VbFormat.h"

namespace {

// A piece that ends right of this starts the next piece of its group on a fresh line.
constexpr double PieceLineEnd = 8640;
// Blanks (10 pt) before the first piece of a line, and between two pieces: wider than the
// blanks between a piece's quantity and its line number, so the number reads with its piece.
const QString PieceIndent = QStringLiteral("    ");
const QString PieceGap = QStringLiteral("      ");
// Between a rule and the text box under it.
constexpr double RuleGap = 40;

QString quoted(QString text)
{
    DoubleQuotes(text);
    return text;
}

// A stored number as the lists show it: "12", "0.5"; "" for null.
QString plainNumber(const QVariant &value)
{
    const auto number = vb::toNumber(value);
    return number ? vb::formatNumber(*number, QString()) : QString();
}

} // namespace

double GenericPrintRun::mDBItemDescriptionPrint(double PosY, const QString &isFlag)
{
    vs.setCurrentY(PosY);
    QString header;
    const QString format = mPrintWidth(isFlag, header);
    vs.setFontBold(true);
    // The rule stands above the header text: drawn on the text's baseline it ran through it.
    fullWidthRule();
    vs.setCurrentY(PosY + PageFont::metrics(vs.FontName(), vs.FontSize(), true).ascent() + RuleGap);
    vs.AddTable(format, QString(), header);
    vs.setFontBold(false);
    vs.setCurrentY(vs.CurrentY() + 100);
    return vs.CurrentY();
}

QString GenericPrintRun::mPrintWidth(const QString &sFlag, QString &header) const
{
    const double u = unitWidth();
    auto width = [u](double units) { return QString::number(units * u); };
    if (sFlag.toUpper() == QLatin1String("C")) {
        header = QStringLiteral("#.|ITEM NO|DESCRIPTION|FROM Qty|TO Qty|WHY|CHG Qty;");
        return ">" + width(0.5) + "|<" + width(2) + "|<" + width(3) + "|>" + width(1.5) + "|>" + width(1.5) + "|<"
             + width(0.5) + "|>" + width(1) + ";";
    }
    header = QStringLiteral("ITEM GROUP|DESCRIPTION & ITEM|UNIT PRICE;");
    return "<" + width(3) + "|<" + width(5) + "|>" + width(2) + ";";
}

QString GenericPrintRun::mDBGroupItem(const QString &sItem)
{
    const int dash = sItem.indexOf('-');
    return dash < 0 ? sItem : sItem.left(dash);
}

QString GenericPrintRun::mDBSubItem(const QString &sItem)
{
    const int dash = sItem.indexOf('-');
    return dash < 0 ? sItem : sItem.mid(dash + 1);
}

bool GenericPrintRun::mDBSameGroupItem(const QVector<SheetLine> &lines, int next, const QString &sGroupItem,
                                       Currency cUnitPrice)
{
    return next < lines.size() && mDBGroupItem(lines[next].itemno) == sGroupItem && lines[next].unit == cUnitPrice;
}

QVector<GenericPrintRun::SheetLine> GenericPrintRun::sheetLines(const QString &sSorderNo) const
{
    Recordset rs = request.db.openSnapshot(QStringLiteral("SELECT * FROM sodetail WHERE invno = '") + quoted(sSorderNo)
                                           + QStringLiteral("' ORDER BY itemno;"));
    QVector<SheetLine> lines;
    for (; !rs.eof(); rs.moveNext()) {
        if (rs.text(QStringLiteral("itype")).toUpper() == QLatin1String("M"))
            continue;
        SheetLine line;
        line.itemno = rs.text(QStringLiteral("itemno"));
        line.description = rs.text(QStringLiteral("Description"));
        line.quantity = plainNumber(rs.value(mIsBackOrder ? QStringLiteral("qbord") : QStringLiteral("qord")));
        line.unit = rs.money(QStringLiteral("unit"));
        line.unitText = vb::format(rs.value(QStringLiteral("unit")), QStringLiteral("###,##0.00"));
        line.linenum = rs.value(QStringLiteral("linenum"));
        lines << line;
    }
    return lines;
}

void GenericPrintRun::mDBFullItemPrint(const QString &sSorderNo, double PosY, const QString &sFlag)
{
    const QVector<SheetLine> lines = sheetLines(sSorderNo);
    const double limit = vs.PageHeight() - 4 * mLineHeight;
    QString header;
    const QString format = mPrintWidth(sFlag, header);
    vs.setCurrentY(PosY);

    bool groupDue = true;
    bool repeatGroup = false; // the group row is due again on the page its group goes on to
    bool freshLine = true;
    QStringList groupCells;
    for (int i = 0; i < lines.size(); ++i) {
        const SheetLine &line = lines[i];
        const QString group = mDBGroupItem(line.itemno);
        if (groupDue) {
            if (!repeatGroup)
                groupCells = {group, line.description, line.unitText};
        } else if (!freshLine && !pieceFits(line)) {
            // A piece is never split: it starts the group's next line.
            endPieceLine();
            freshLine = true;
        }
        if (!groupDue && freshLine && vs.CurrentY() + pieceDescent() > listingBottom()) {
            // The group goes on on the next page, under its group row again.
            breakPage(sheetSlot(), sFlag);
            groupDue = repeatGroup = true;
        }
        if (groupDue) {
            // Every group row in the base font, whatever size the last piece ended in; with the
            // empty line above it and its first piece line below it, or on the next page.
            vs.setFontBold(false);
            vs.setFontSize(12);
            const double rowHeight = vs.MeasureTableRow(format, groupCells);
            if (vs.CurrentY() + mLineHeight + rowHeight + pieceDescent() > listingBottom())
                breakPage(sheetSlot(), sFlag);
            vs.Paragraph(QString());
            addListingRow(format, groupCells, sheetSlot(), sFlag);
            groupDue = repeatGroup = false;
            freshLine = true;
        }

        writePiece(line, freshLine);
        freshLine = false;

        if (mDBSameGroupItem(lines, i + 1, group, line.unit)) {
            if (vs.CurrentX() <= PieceLineEnd)
                continue;
            endPieceLine();
            freshLine = true;
        } else {
            vs.Paragraph(QString());
            groupDue = true;
        }
        if (i + 1 < lines.size() && vs.CurrentY() > limit) {
            breakPage(sheetSlot(), sFlag);
            repeatGroup = !groupDue;
            groupDue = true;
        }
    }

    if (!mRemark.trimmed().isEmpty()) {
        vs.setFontBold(false);
        vs.setFontSize(12);
        // The heading and the whole remark stay together above the bottom margin.
        const double ascent = PageFont::metrics(vs.FontName(), vs.FontSize(), false).ascent();
        const double remarkHeight = vs.MeasureTableRow(QString::number(W() + 2 * PageEngine::CellPadding), {mRemark});
        if (vs.CurrentY() + 2 * mLineHeight - ascent + remarkHeight > listingBottom())
            breakPage(sheetSlot(), sFlag);
        vs.Paragraph(QString());
        vs.Paragraph(QStringLiteral("*** Remarks ***"));
        vs.Paragraph(mRemark);
    }
}

void GenericPrintRun::writePiece(const SheetLine &line, bool freshLine)
{
    vs.setFontBold(false);
    vs.setFontSize(10);
    vs.Text(freshLine ? PieceIndent : PieceGap);
    vs.setFontBold(true);
    vs.setFontSize(11);
    vs.Text("- " + mDBSubItem(line.itemno) + " ");
    vs.setFontSize(13);
    vs.Text(line.quantity);
    vs.setFontSize(11);
    vs.Text(QStringLiteral(" "));
    vs.setFontBold(false);
    vs.setFontSize(8);
    vs.Text(lineNumberText(line));
}

QString GenericPrintRun::lineNumberText(const SheetLine &line)
{
    return Recordset::isNullValue(line.linenum) ? QString() : "  (#" + line.linenum.toString() + ")";
}

bool GenericPrintRun::pieceFits(const SheetLine &line) const
{
    auto width = [](double size, bool bold, const QString &text) {
        return PageFont::metrics(QStringLiteral("Courier New"), size, bold).horizontalAdvance(text);
    };
    const double piece = width(10, false, PieceGap) + width(11, true, "- " + mDBSubItem(line.itemno) + " ")
                       + width(13, true, line.quantity) + width(11, true, QStringLiteral(" "))
                       + width(8, false, lineNumberText(line));
    return vs.CurrentX() + piece <= vs.PageWidth() - vs.MarginRight();
}

void GenericPrintRun::endPieceLine()
{
    for (int n = 0; n < 3; ++n)
        vs.Paragraph(QString());
}

double GenericPrintRun::pieceDescent() const
{
    return PageFont::metrics(QStringLiteral("Courier New"), 13, true).descent();
}

double GenericPrintRun::listingBottom() const
{
    return vs.PageHeight() - vs.MarginBottom();
}

void GenericPrintRun::mDBOnlyChangedPrint(const QString &sSorderNo, double PosY, qint64 lVersionStamp,
                                          const QString &sFlag)
{
    // The description from a subquery: an item number on several item rows (a matrix item) lists
    // its changed line once, and a line of an item no longer on file is still listed.
    Recordset rs = request.db.openSnapshot(
        QStringLiteral("SELECT linenum, itemno, fromqty, toqty, status, "
                       "(SELECT MAX(uname) FROM item WHERE item.uid = sochanged.itemno) AS uname "
                       "FROM sochanged WHERE (invno = '")
        + quoted(sSorderNo) + QStringLiteral("' AND versionstamp = ") + QString::number(lVersionStamp)
        + QStringLiteral(") ORDER BY itemno;"));
    vs.setFontSize(12);
    const double limit = vs.PageHeight() - 4 * mLineHeight;
    vs.setCurrentY(PosY);
    QString header;
    const QString format = mPrintWidth(QStringLiteral("C"), header);
    const int slot = sFlag.toUpper() == QLatin1String("B") ? BothSlot : ChangedSlot;

    while (!rs.eof()) {
        const QVariant linenum = rs.value(QStringLiteral("linenum"));
        const QVariant fromqty = rs.value(QStringLiteral("fromqty"));
        const QVariant toqty = rs.value(QStringLiteral("toqty"));
        const double change = vb::toNumber(toqty).value_or(0) - vb::toNumber(fromqty).value_or(0);
        addListingRow(format,
                      {Recordset::isNullValue(linenum) ? QStringLiteral("?") : rs.text(QStringLiteral("linenum")),
                       rs.text(QStringLiteral("itemno")), rs.text(QStringLiteral("uname")), plainNumber(fromqty),
                       plainNumber(toqty), rs.text(QStringLiteral("status")), vb::formatNumber(change, QString())},
                      slot, QStringLiteral("C"));
        rs.moveNext();
        if (!rs.eof() && vs.CurrentY() >= limit)
            breakPage(slot, QStringLiteral("C"));
    }
}

void GenericPrintRun::breakPage(int slot, const QString &listingFlag)
{
    mPageCount[mOrderCount][slot] += 1;
    vs.NewPage();
    vs.setCurrentY(mDBChoiceHeaderPrint(4, mSheetFlag, listingFlag));
}

void GenericPrintRun::addListingRow(const QString &format, const QStringList &cells, int slot,
                                    const QString &listingFlag)
{
    // A row that does not fit above the bottom margin starts the next page, under the header:
    // left to the engine, it would go to a page without one.
    const double ascent = PageFont::metrics(vs.FontName(), vs.FontSize(), vs.FontBold()).ascent();
    if (vs.CurrentY() - ascent + vs.MeasureTableRow(format, cells) > listingBottom())
        breakPage(slot, listingFlag);
    // Only a row taller than a whole page still makes the engine add pages: they belong to the
    // sheet too.
    const int pages = vs.PageCount();
    vs.AddTableRow(format, cells);
    mPageCount[mOrderCount][slot] += vs.PageCount() - pages;
}
