#include "pageengine/PageRenderer.h"

#include "pageengine/PageFont.h"

#include <QPaintDevice>
#include <QPainter>
#include <QPen>

#include <algorithm>

namespace PageRenderer {

namespace {

Qt::PenStyle penStyle(int ruleStyle)
{
    switch (ruleStyle) {
    case 1: return Qt::DashLine;
    case 2: return Qt::DotLine;
    case 3: return Qt::DashDotLine;
    case 4: return Qt::DashDotDotLine;
    default: return Qt::SolidLine;
    }
}

// Consecutive items mostly share a font; building a QFont per item is the costly part.
class FontSetter
{
public:
    explicit FontSetter(QPainter &painter) : m_painter(painter) {}

    void use(const PageItem &item)
    {
        if (m_valid && item.fontName == m_name && item.fontSize == m_size && item.bold == m_bold)
            return;
        m_name = item.fontName;
        m_size = item.fontSize;
        m_bold = item.bold;
        m_valid = true;
        m_painter.setFont(PageFont::font(m_name, m_size, m_bold));
    }

private:
    QPainter &m_painter;
    QString m_name;
    double m_size = 0;
    bool m_bold = false;
    bool m_valid = false;
};

void drawBoxedText(QPainter &painter, const PageItem &item)
{
    const QFontMetricsF &metrics = PageFont::metrics(item.fontName, item.fontSize, item.bold);
    const double left = item.x + item.padding;
    const double room = item.width - 2 * item.padding;
    painter.save();
    painter.setClipRect(QRectF(item.x, item.y, item.width, item.height), Qt::IntersectClip);
    const QStringList lines = item.text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        const double width = metrics.horizontalAdvance(lines[i]);
        double x = left;
        if (item.hAlign == 1)
            x = left + (room - width) / 2;
        else if (item.hAlign == 2)
            x = left + room - width;
        painter.drawText(QPointF(x, item.baseline + i * item.lineHeight), lines[i]);
    }
    painter.restore();
}

} // namespace

double scaleX(const QPaintDevice &device)
{
    return device.logicalDpiX() / 1440.0;
}

double scaleY(const QPaintDevice &device)
{
    return device.logicalDpiY() / 1440.0;
}

void render(QPainter &painter, const PageData &page, double sx, double sy)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.scale(sx, sy);

    // At least one device pixel, so thin rules never vanish on a coarse screen.
    const double onePixel = 1.0 / qMax(1e-9, qMin(sx, sy));
    FontSetter fonts(painter);
    painter.setPen(QPen(Qt::black));
    for (const PageItem &item : page.items) {
        switch (item.kind) {
        case PageItem::Kind::Text:
            fonts.use(item);
            painter.drawText(QPointF(item.x, item.baseline), item.text);
            break;
        case PageItem::Kind::BoxedText:
            fonts.use(item);
            drawBoxedText(painter, item);
            break;
        case PageItem::Kind::Rule: {
            QPen pen(Qt::black);
            pen.setWidthF(std::max({item.penWidth, ThinnestRule, onePixel}));
            pen.setStyle(penStyle(item.penStyle));
            pen.setCapStyle(Qt::SquareCap);
            painter.setPen(pen);
            painter.drawLine(QLineF(item.x, item.y, item.x2, item.y2));
            painter.setPen(QPen(Qt::black));
            break;
        }
        }
    }
    painter.restore();
}

} // namespace PageRenderer
