#pragma once

#include <QFontMetricsF>
#include <QString>
#include <QStringList>

// Line breaking shared by text, table cells and boxed text.
namespace PageWrap {

// Glyph advances are rounded to 1/64 of a twip, so ten Courier characters measure a hair
// over 1440; a text is taken to fit when it is at most this much wider than the room.
constexpr double FitTolerance = 1.0;

bool fits(double textWidth, double room);

// Splits at Chr(13), Chr(10) and CR LF; an empty text gives one empty line.
QStringList splitLineBreaks(const QString &text);

// Breaks one line (no line breaks inside) into pieces no wider than room: after blanks where
// possible, inside a word only when the word alone is too wide. Blanks at a break are dropped;
// leading blanks of the text are kept (layouts indent with them). room <= 0 leaves it whole.
QStringList wrapLine(const QString &line, double room, const QFontMetricsF &metrics);

// Length of the leading blanks and the first word after them.
int firstWordLength(const QString &text);
QString withoutLeadingBlanks(const QString &text);

// splitLineBreaks, then wrapLine on every line.
QStringList wrapText(const QString &text, double room, const QFontMetricsF &metrics);

} // namespace PageWrap
