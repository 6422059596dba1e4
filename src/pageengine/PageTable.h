#pragma once

#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

// Table strings of the page engine.
//
// Format: columns separated by "|", an optional trailing ";". A column is an optional alignment
// mark ("<" left, "^" centre, ">" right; none is left) followed by its width in twips, which may
// be decimal ("539.5"). Example: "^1440|<4460|>1000;".
//
// Header and body text: cells separated by "|", each row ended by ";". A missing final ";" still
// ends the last row; "" holds no row at all, ";" one empty row. Cells beyond the format's columns
// are dropped, missing ones are empty. This text form is for the fixed texts of a layout only: a
// stored value put into it would be split at any "|" or ";" it holds.
//
// Rows: the same rows already split into cells, left to right. A cell is printed as it stands;
// "|" and ";" in it are text. Values from the database reach a table this way.
namespace PageTable {

enum class Align { Left, Centre, Right };

struct Column
{
    Align align = Align::Left;
    double width = 0;
};

// Empty when the format has no column or a width that is not a non-negative number.
std::optional<QVector<Column>> parseFormat(const QString &format);

using Rows = QVector<QStringList>;

// The rows of header or body text.
Rows parseRows(const QString &text);

} // namespace PageTable
