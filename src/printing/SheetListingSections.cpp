// The listing sections of the generic print run's sheets: the column header, the grouped picking
// list and the changed-lines list, each breaking its own pages.

#include "printing/GenericPrintRun.h"

#include "module1/Module1.h"
#include "pageengine/PageEngine.h"
#include "runtime/VbFormat.h"

namespace {

// A piece that ends right of this starts the next piece of its group on a fresh line.
constexpr double PieceLineEnd = 8640;

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
    fullWidthRule();
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
    bool freshLine = true;
    for (int i = 0; i < lines.size(); ++i) {
        const SheetLine &line = lines[i];
        const QString group = mDBGroupItem(line.itemno);
        if (groupDue) {
            vs.Paragraph(QString());
            // Every group row in the base font, whatever size the last piece ended in.
            vs.setFontBold(false);
            vs.setFontSize(12);
            addListingRow(format, {group, line.description, line.unitText}, sheetSlot());
            groupDue = false;
            freshLine = true;
        }

        if (freshLine) {
            vs.setFontBold(false);
            vs.setFontSize(10);
            vs.Text(QStringLiteral("    "));
            freshLine = false;
        }
        vs.setFontBold(true);
        vs.setFontSize(11);
        vs.Text("- " + mDBSubItem(line.itemno));
        vs.setFontSize(13);
        vs.Text(line.quantity);
        vs.setFontSize(11);
        vs.Text(QStringLiteral(" "));
        vs.setFontBold(false);
        vs.setFontSize(8);
        vs.Text(Recordset::isNullValue(line.linenum) ? QStringLiteral("        ")
                                                     : "        (#" + line.linenum.toString() + ")");

        if (mDBSameGroupItem(lines, i + 1, group, line.unit)) {
            if (vs.CurrentX() <= PieceLineEnd)
                continue;
            for (int n = 0; n < 3; ++n)
                vs.Paragraph(QString());
            freshLine = true;
        } else {
            vs.Paragraph(QString());
            groupDue = true;
        }
        if (i + 1 < lines.size() && vs.CurrentY() > limit)
            breakPage(sheetSlot(), sFlag);
    }

    if (!mRemark.trimmed().isEmpty()) {
        vs.setFontBold(false);
        vs.setFontSize(12);
        vs.Paragraph(QString());
        vs.Paragraph(QStringLiteral("*** Remarks ***"));
        vs.Paragraph(mRemark);
    }
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
                      slot);
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

void GenericPrintRun::addListingRow(const QString &format, const QStringList &cells, int slot)
{
    // A row too tall for what is left of the page moves to a page the engine adds itself: that
    // page belongs to the sheet too.
    const int pages = vs.PageCount();
    vs.AddTableRow(format, cells);
    mPageCount[mOrderCount][slot] += vs.PageCount() - pages;
}
