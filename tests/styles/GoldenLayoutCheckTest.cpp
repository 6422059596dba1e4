// The layout check over every golden document: each page of tests/styles/golden/*.txt must read
// right. It fails on two texts whose boxes overlap, a rule through a text, anything outside the
// sheet's printable area, and a text the engine had to break (marked "wrapped": a date, number or
// amount broken across lines, or a text wider than its cell). Text boxes are measured with the
// page engine's own font metrics, as the renderer draws them: the run's width (less leading and
// trailing blanks, which draw nothing) by the font's ascent above and descent below the
// baseline. The exceptions it allows are all in `Allowed` below, each with its reason.

#include "pageengine/PageFont.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <algorithm>
#include <gtest/gtest.h>
#include <optional>

namespace {

// The area office printers reach: the sheet less a quarter inch on every side.
constexpr double UnprintableEdge = 360;
// Font boxes hold room for accents above capitals and descenders below the baseline: boxes of
// texts on neighbouring lines in mixed sizes may touch by this much before their ink does.
constexpr double TextTolerance = 20;
// A rule may graze a text box by this much (rounding of whole twips).
constexpr double RuleTolerance = 2;

struct Item
{
    enum Kind { Text, Rule, Box } kind = Text;
    double x = 0, y = 0, x2 = 0, y2 = 0; // text and box: left, top, right, bottom; rule: ends
    double pen = 0;
    QString text;
    bool wrapped = false;
    int line = 0; // in the golden file
};

struct Page
{
    int number = 0;
    double width = 0, height = 0;
    QVector<Item> items;
};

// One allowed exception: a rule ("overlap", "rule", "outside", "wrapped") in the golden files
// whose names match `file`, for the texts matching `text`.
struct Exception
{
    const char *rule;
    const char *file;
    const char *text;
    const char *reason;
};

const Exception Allowed[] = {
    {"wrapped", "^REG", "^(Fleece Pullover Hoodie -|Medium)$",
     "an item description (\"Fleece Pullover Hoodie - Medium\", 31 characters) wider than the 4460-twip "
     "description column wraps at a blank and its row grows: nothing is cut, no number is split"},
    {"wrapped", "^GRP-(changed|both)", "^(Active Base Tee -|Medium|Fleece Pullover Hoodie|- Large)$",
     "item descriptions in the changed list's three-tenths column wrap at a blank; the row grows"},
    {"wrapped", "^GRP-salesorder", "^(Active Base Tee, assorted|sizes|Fleece Pullover Hoodie,|assorted)$",
     "a group line's description, indented by five blanks, wraps at a blank in its column; the row grows"},
};

bool allowed(const char *rule, const QString &file, const QString &text)
{
    for (const Exception &e : Allowed) {
        if (qstrcmp(e.rule, rule) == 0 && QRegularExpression(QString::fromLatin1(e.file)).match(file).hasMatch()
            && QRegularExpression(QString::fromLatin1(e.text)).match(text).hasMatch())
            return true;
    }
    return false;
}

// ---- reading a golden file ------------------------------------------------------------------

// The quoted strings of a line, unescaped, and the line without them.
QStringList quotedParts(const QString &line, QString &rest)
{
    QStringList parts;
    rest.clear();
    for (int i = 0; i < line.size(); ++i) {
        if (line[i] != u'"') {
            rest += line[i];
            continue;
        }
        QString part;
        for (++i; i < line.size() && line[i] != u'"'; ++i) {
            if (line[i] == u'\\' && i + 1 < line.size()) {
                const QChar c = line[++i];
                part += c == u'n' ? QChar(u'\n') : c == u'r' ? QChar(u'\r') : c == u't' ? QChar(u'\t') : c;
            } else {
                part += line[i];
            }
        }
        parts << part;
        rest += QStringLiteral(" @ ");
    }
    return parts;
}

// The text's ink box: its run less blanks at either end, from ascent to descent.
void textBox(Item &item, double left, double baseline, const QString &font, double size, bool bold)
{
    const QFontMetricsF &fm = PageFont::metrics(font, size, bold);
    const QString core = item.text.trimmed();
    const int lead = int(item.text.indexOf(core.isEmpty() ? QString() : core.left(1)));
    item.x = left + fm.horizontalAdvance(item.text.left(std::max(0, lead)));
    item.x2 = item.x + fm.horizontalAdvance(core);
    item.y = baseline - fm.ascent();
    item.y2 = baseline + fm.descent();
    item.text = core;
}

QVector<Page> readGolden(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    static const QRegularExpression number(QStringLiteral("-?\\d+(\\.\\d+)?"));
    QVector<Page> pages;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    for (int n = 0; n < lines.size(); ++n) {
        QString rest;
        const QStringList quoted = quotedParts(lines[n], rest);
        QVector<double> v;
        for (auto it = number.globalMatch(rest); it.hasNext();)
            v << it.next().captured().toDouble();
        const QStringList words = rest.split(u' ', Qt::SkipEmptyParts);
        if (words.isEmpty())
            continue;
        if (words[0] == QLatin1String("page") && v.size() >= 3) {
            pages.append(Page{int(v[0]), v[1], v[2], {}});
            continue;
        }
        if (pages.isEmpty())
            continue;
        Item item;
        item.line = n + 1;
        const bool bold = words.contains(QStringLiteral("bold"));
        if (words[0] == QLatin1String("text") && v.size() >= 5 && quoted.size() == 2) {
            // text x,top w=width base=baseline "font" size [bold] [wrapped] "text"
            item.text = quoted[1];
            item.wrapped = words.contains(QStringLiteral("wrapped"));
            textBox(item, v[0], v[3], quoted[0], v[4], bold);
            if (!item.text.isEmpty())
                pages.last().items << item;
        } else if (words[0] == QLatin1String("rule") && v.size() >= 5) {
            item.kind = Item::Rule;
            item.x = v[0], item.y = v[1], item.x2 = v[2], item.y2 = v[3], item.pen = v[4];
            pages.last().items << item;
        } else if (words[0] == QLatin1String("box") && v.size() >= 7 && quoted.size() == 2) {
            // box x,y widthxheight align pad=padding line=lineHeight "font" size [bold] "text":
            // the lines that fit, each from the box's top, left-aligned boxes measured by line.
            item.kind = Item::Box;
            item.text = quoted[1];
            const QFontMetricsF &fm = PageFont::metrics(quoted[0], v[6], bold);
            const QStringList boxLines = item.text.split(u'\n');
            double widest = 0;
            for (const QString &l : boxLines)
                widest = std::max(widest, fm.horizontalAdvance(l.trimmed()));
            item.x = v[0] + v[4];
            item.x2 = words.contains(QStringLiteral("left")) ? item.x + widest : v[0] + v[2] - v[4];
            item.y = v[1];
            item.y2 = v[1] + std::min(v[3], (boxLines.size() - 1) * v[5] + fm.ascent() + fm.descent());
            if (!item.text.trimmed().isEmpty())
                pages.last().items << item;
        }
    }
    return pages;
}

// ---- the check --------------------------------------------------------------------------------

double overlap(double a1, double a2, double b1, double b2)
{
    return std::min(std::max(a1, a2), std::max(b1, b2)) - std::max(std::min(a1, a2), std::min(b1, b2));
}

QString where(const QString &file, const Page &page, const Item &item)
{
    return QStringLiteral("%1:%2 (page %3)").arg(file).arg(item.line).arg(page.number);
}

bool looksNumeric(const QString &text)
{
    static const QRegularExpression figures(QStringLiteral("^[-+$(]?[\\d.,/:]*\\d[\\d.,/:%)]*$"));
    return figures.match(text).hasMatch();
}

// Every fault of the pages of `file`, one line each.
QStringList faults(const QString &file, const QVector<Page> &pages)
{
    QStringList found;
    for (const Page &page : pages) {
        const double left = UnprintableEdge, top = UnprintableEdge;
        const double right = page.width - UnprintableEdge, bottom = page.height - UnprintableEdge;
        for (int i = 0; i < page.items.size(); ++i) {
            const Item &a = page.items[i];
            const double half = a.kind == Item::Rule ? a.pen / 2 : 0;
            if (std::min(a.x, a.x2) - half < left - 0.5 || std::max(a.x, a.x2) + half > right + 0.5
                || std::min(a.y, a.y2) - half < top - 0.5 || std::max(a.y, a.y2) + half > bottom + 0.5) {
                if (!allowed("outside", file, a.text))
                    found << where(file, page, a) + " outside the printable area: \"" + a.text + "\"";
            }
            if (a.kind == Item::Text && a.wrapped && !allowed("wrapped", file, a.text)) {
                found << where(file, page, a)
                             + (looksNumeric(a.text) ? " a date, number or amount broken across lines: \""
                                                     : " a text wider than its cell, broken: \"")
                             + a.text + "\"";
            }
            if (a.kind == Item::Rule)
                continue;
            for (int j = 0; j < page.items.size(); ++j) {
                const Item &b = page.items[j];
                if (j == i)
                    continue;
                if (b.kind == Item::Rule) {
                    const double pen = b.pen / 2;
                    const double t = RuleTolerance;
                    const bool crosses = overlap(a.x + t, a.x2 - t, b.x - pen, b.x2 + pen) >= 0
                                      && overlap(a.y + t, a.y2 - t, b.y - pen, b.y2 + pen) >= 0;
                    if (crosses && !allowed("rule", file, a.text))
                        found << where(file, page, a) + " crossed by the rule of line " + QString::number(b.line)
                                     + ": \"" + a.text + "\"";
                } else if (j > i && overlap(a.x, a.x2, b.x, b.x2) > TextTolerance
                           && overlap(a.y, a.y2, b.y, b.y2) > TextTolerance
                           && !allowed("overlap", file, a.text + "|" + b.text)) {
                    found << where(file, page, a) + " overlaps line " + QString::number(b.line) + ": \"" + a.text
                                 + "\" / \"" + b.text + "\"";
                }
            }
        }
    }
    return found;
}

QStringList goldenFiles()
{
    const QDir folder(QStringLiteral(RFSTATION_SOURCE_DIR "/tests/styles/golden"));
    return folder.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name);
}

TEST(GoldenLayoutCheck, EveryGoldenPageReadsRight)
{
    const QStringList files = goldenFiles();
    ASSERT_FALSE(files.isEmpty());
    const QDir folder(QStringLiteral(RFSTATION_SOURCE_DIR "/tests/styles/golden"));
    for (const QString &file : files) {
        const QVector<Page> pages = readGolden(folder.filePath(file));
        EXPECT_FALSE(pages.isEmpty()) << file.toStdString();
        const QStringList found = faults(file, pages);
        EXPECT_TRUE(found.isEmpty()) << found.join(u'\n').toStdString();
    }
}

// The check itself finds each kind of fault, and passes a page that has none.
TEST(GoldenLayoutCheck, FindsEveryKindOfFault)
{
    const QString head = QStringLiteral("page 1 12240x15840\n");
    const QString label = QStringLiteral("text 720,800 w=1440 base=1000 \"Courier New\" 12 \"LABEL LINE\"\n");
    const struct
    {
        const char *lines;
        const char *fault;
    } cases[] = {
        {"", ""},
        {"text 1500,800 w=1440 base=1000 \"Courier New\" 12 \"SECOND ONE\"\n", "overlaps"},
        {"rule 720,950 3000,950 pen=0 style=solid\n", "crossed by the rule"},
        {"rule 1500,700 1500,1100 pen=0 style=solid\n", "crossed by the rule"},
        {"rule 720,1100 3000,1100 pen=0 style=solid\n", ""}, // under the descenders
        {"text 720,15500 w=600 base=15700 \"Courier New\" 12 \"FOOT\"\n", "outside the printable area"},
        {"text 720,1072 w=960 base=1272 \"Courier New\" 12 wrapped \"12/02/20\"\n", "a date, number or amount"},
        {"text 720,1072 w=432 base=1272 \"Courier New\" 12 wrapped \"DUE\"\n", "wider than its cell"},
        {"box 720,2000 6000x1200 left pad=30 line=272 \"Courier New\" 12 \"** REMARKS **\\nLABEL\"\n"
         "text 800,2100 w=600 base=2300 \"Courier New\" 12 \"OVER\"\n",
         "overlaps"},
    };
    const QString path = QDir::temp().filePath(QStringLiteral("layout-check-case.txt"));
    for (const auto &c : cases) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write((head + label + QString::fromUtf8(c.lines)).toUtf8());
        file.close();
        const QStringList found = faults(QStringLiteral("case.txt"), readGolden(path));
        if (*c.fault == '\0')
            EXPECT_TRUE(found.isEmpty()) << c.lines << found.join(u'\n').toStdString();
        else
            EXPECT_TRUE(found.size() == 1 && found[0].contains(QString::fromUtf8(c.fault)))
                << c.lines << found.join(u'\n').toStdString();
    }
    QFile::remove(path);
}

} // namespace
