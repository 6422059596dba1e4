#pragma once

#include "pageengine/PageDocument.h"

class QPaintDevice;
class QPainter;

// Draws one page's display list with a QPainter. The one renderer of printers, PDF files and the
// preview: the painter is scaled from twips to device units, and fonts are sized in twips (see
// PageFont), so every device shows the widths the layout measured.
namespace PageRenderer {

// Rules thinner than this (RuleWidth 0 among them) are drawn this wide: a quarter point.
constexpr double ThinnestRule = 5;

// Twips to device units of a device: its resolution / 1440, for x and y.
double scaleX(const QPaintDevice &device);
double scaleY(const QPaintDevice &device);

// Draws the page's items at the painter's current origin, scaled by (sx, sy) device units per
// twip. Paints no background: a preview paints its own sheet, paper is white.
void render(QPainter &painter, const PageData &page, double sx, double sy);

} // namespace PageRenderer
