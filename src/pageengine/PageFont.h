#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QString>

// Fonts of the page engine. Layouts name Windows fonts and were designed on their widths; the
// metric-compatible Liberation families stand in for them, so measured widths stay the same.
// Fonts are sized in pixels of one twip each: 1 point = 20 twips, so measuring and drawing
// (on a painter scaled from twips) use identical, unhinted advances on every device.
namespace PageFont {

// "Courier New" -> "Liberation Mono", "Arial" -> "Liberation Sans",
// "Times New Roman" -> "Liberation Serif" (case-insensitive); other names are kept.
QString resolveFamily(const QString &name);

QFont font(const QString &name, double pointSize, bool bold);

// Metrics in twips; cached, because layouts measure the same few fonts thousands of times.
const QFontMetricsF &metrics(const QString &name, double pointSize, bool bold);

} // namespace PageFont
