#include "PageEngine.h"
#include "PageFont.h"

#include <QFontInfo>
#include <gtest/gtest.h>

namespace {

struct Engine
{
    PageEngine e;
    Engine()
    {
        e.setDevice("PDF");
        for (auto set : {&PageEngine::setMarginLeft, &PageEngine::setMarginRight, &PageEngine::setMarginTop,
                         &PageEngine::setMarginBottom})
            (e.*set)(720);
        e.setFontName("Courier New");
        e.setFontSize(12);
        e.setPreview(true);
        e.StartDoc();
    }
    const QVector<PageItem> &items(int page = 1) const { return e.document().pages.at(page - 1).items; }
    const PageItem &item(const QString &text) const
    {
        for (const PageItem &i : items())
            if (i.text == text)
                return i;
        throw std::runtime_error("no item " + text.toStdString());
    }
    static double spacing(const char *font, double size) { return PageFont::metrics(font, size, false).lineSpacing(); }
};

} // namespace

TEST(PageFont, WindowsFontsResolveToTheMetricCompatibleLiberationFonts)
{
    EXPECT_EQ(QFontInfo(PageFont::font("Courier New", 12, false)).family(), "Liberation Mono");
    EXPECT_EQ(QFontInfo(PageFont::font("Arial", 15, true)).family(), "Liberation Sans");
    EXPECT_EQ(PageFont::resolveFamily("ARIAL"), "Liberation Sans");
    EXPECT_EQ(PageFont::resolveFamily("DejaVu Sans"), "DejaVu Sans");
}

TEST(PageEngineText, MeasureTextUsesTheLayoutWidths)
{
    Engine t;
    // Courier New: every character 0.6 em; 12 pt = 7.2 pt = 144 twips, 10 pt = 120 twips.
    for (const char *text : {"iiiiiiiiii", "MMMMMMMMMM", "1,234.56 -", "          "})
        EXPECT_NEAR(t.e.MeasureText(text), 1440, 0.5) << text;
    t.e.setFontBold(true);
    EXPECT_NEAR(t.e.MeasureText("WWWWWWWWWW"), 1440, 0.5);
    t.e.setFontSize(10);
    EXPECT_NEAR(t.e.MeasureText("*"), 120, 0.05);
    EXPECT_NEAR(t.e.MeasureText("ab\rabcd"), 480, 0.1); // the widest line

    // Arial 12 pt: "M" is 0.833 em, "i" 0.222 em.
    t.e.setFontName("Arial");
    t.e.setFontSize(12);
    t.e.setFontBold(false);
    EXPECT_NEAR(t.e.MeasureText("M"), 200, 0.5);
    EXPECT_NEAR(t.e.MeasureText("i"), 53.3, 0.5);
}

TEST(PageEngineText, FontSizeAcceptsNumericText)
{
    Engine t;
    EXPECT_TRUE(t.e.setFontSize(QString("15")));
    EXPECT_DOUBLE_EQ(t.e.FontSize(), 15);
    EXPECT_FALSE(t.e.setFontSize(QString("big")));
    t.e.setFontSize(0.0);
    EXPECT_DOUBLE_EQ(t.e.FontSize(), 15);
}

TEST(PageEngineText, TextMovesCurrentXAndParagraphEndsTheLine)
{
    Engine t;
    const double lh = Engine::spacing("Courier New", 12);
    t.e.setCurrentY(1000);
    t.e.Text("ABC");
    EXPECT_NEAR(t.e.CurrentX(), 720 + 3 * 144.015625, 0.01);
    EXPECT_DOUBLE_EQ(t.e.CurrentY(), 1000);
    t.e.Paragraph("DE");
    EXPECT_NEAR(t.item("DE").x, 720 + 3 * 144.015625, 0.01);
    EXPECT_DOUBLE_EQ(t.e.CurrentX(), 720);
    EXPECT_NEAR(t.e.CurrentY(), 1000 + lh, 0.01);

    t.e.Paragraph(""); // an empty line
    EXPECT_NEAR(t.e.CurrentY(), 1000 + 2 * lh, 0.01);

    t.e.Text("TITLE\r"); // Chr(13) ends the line
    EXPECT_NEAR(t.e.CurrentY(), 1000 + 3 * lh, 0.01);
    EXPECT_DOUBLE_EQ(t.e.CurrentX(), 720);

    t.e.setLineSpacing(80);
    t.e.Paragraph("X");
    EXPECT_NEAR(t.e.CurrentY(), 1000 + 3.8 * lh, 0.01);
    t.e.setLineSpacing(120);
    t.e.Paragraph("Y\rZ");
    EXPECT_NEAR(t.item("Z").baseline, 1000 + 5 * lh, 0.01);
    EXPECT_NEAR(t.e.CurrentY(), 1000 + 6.2 * lh, 0.01);
}

TEST(PageEngineText, AParagraphRightAfterAFinalLineBreakEndsThatSameLine)
{
    Engine t;
    t.e.setFontName("Arial");
    t.e.setFontSize(15);
    t.e.setTextAlign(8);
    t.e.setCurrentY(720);
    t.e.Text("SALES ORDER\r");
    t.e.setFontName("Courier New");
    t.e.setFontSize(10);
    t.e.Paragraph(""); // ends the title line, adds no empty line
    EXPECT_NEAR(t.e.CurrentY(), 720 + Engine::spacing("Arial", 15), 0.01);
    t.e.Paragraph(""); // this one is an empty 10 pt line
    EXPECT_NEAR(t.e.CurrentY(), 720 + Engine::spacing("Arial", 15) + Engine::spacing("Courier New", 10), 0.01);

    t.e.Text("A\r");
    t.e.Paragraph("B"); // text of its own: a line of its own
    EXPECT_NEAR(t.item("B").baseline, t.item("A").baseline + Engine::spacing("Courier New", 10), 0.01);
}

TEST(PageEngineText, PiecesOfSeveralSizesShareABaselineAndTheTallestSetsTheLine)
{
    Engine t;
    t.e.setCurrentY(2000);
    t.e.setFontSize(10);
    t.e.Text("    ");
    t.e.setFontBold(true);
    t.e.setFontSize(11);
    t.e.Text("- S");
    t.e.setFontSize(13);
    t.e.Text(" 12");
    t.e.setFontBold(false);
    t.e.setFontSize(8);
    t.e.Text("        (#3)");
    t.e.Paragraph("");
    // Baseline codes stand every piece on CurrentY.
    for (const char *text : {"    ", "- S", " 12", "        (#3)"})
        EXPECT_DOUBLE_EQ(t.item(text).baseline, 2000) << text;
    EXPECT_NEAR(t.item(" 12").y, 2000 - PageFont::metrics("Courier New", 13, true).ascent(), 0.01);
    EXPECT_NEAR(t.item(" 12").x, t.item("- S").right(), 0.01);
    EXPECT_NEAR(t.e.CurrentY(), 2000 + PageFont::metrics("Courier New", 13, true).lineSpacing(), 0.01);

    // Top alignment puts every piece's top at the line's top instead.
    t.e.setTextAlign(0);
    t.e.setCurrentY(4000);
    t.e.setFontSize(8);
    t.e.Text("small");
    t.e.setFontSize(14);
    t.e.Paragraph("large");
    EXPECT_DOUBLE_EQ(t.item("small").y, 4000);
    EXPECT_DOUBLE_EQ(t.item("large").y, 4000);
}

TEST(PageEngineText, AlignmentCodesPlaceTextBetweenTheMargins)
{
    Engine t;
    const double w = 5 * 144.015625;
    struct Case { int code; const char *text; double x; };
    const Case cases[] = {
        {0, "LEFT0", 720},
        {6, "LEFT6", 720},
        {2, "RIGT2", 11520 - w},
        {7, "RIGT7", 11520 - w},
        {8, "CENT8", 720 + (10800 - w) / 2},
        {99, "OTHER", 720}, // unknown codes act as 6
    };
    for (const Case &c : cases) {
        t.e.setTextAlign(c.code);
        t.e.Paragraph(c.text);
        EXPECT_NEAR(t.item(c.text).x, c.x, 0.01) << c.code;
    }

    // Consecutive centred pieces stay together; CurrentX ends after them.
    t.e.setTextAlign(8);
    t.e.Text("AB");
    t.e.Text("CD");
    EXPECT_NEAR(t.item("AB").x, 720 + (10800 - 4 * 144.015625) / 2, 0.01);
    EXPECT_NEAR(t.item("CD").x, t.item("AB").right(), 0.01);
    EXPECT_NEAR(t.e.CurrentX(), t.item("CD").right(), 0.01);
    t.e.Paragraph("");
    t.e.setTextAlign(2);
    t.e.Text("EF");
    t.e.Paragraph("GH");
    EXPECT_NEAR(t.item("GH").right(), 11520, 0.01);
    EXPECT_NEAR(t.item("EF").right(), t.item("GH").x, 0.01);

    // Centred text is centred in the room right of CurrentX.
    t.e.setTextAlign(8);
    t.e.setCurrentX(6120);
    t.e.Paragraph("1/2");
    EXPECT_NEAR(t.item("1/2").x, 6120 + (11520 - 6120 - 3 * 144.015625) / 2, 0.01);
}

TEST(PageEngineText, LongTextWrapsAtTheRightMarginAfterABlank)
{
    Engine t;
    t.e.setCurrentY(1000);
    t.e.setCurrentX(11520 - 10 * 144.015625); // room for ten characters
    t.e.Paragraph("ONE TWO THREE FOUR");
    EXPECT_NEAR(t.item("ONE TWO").x, 11520 - 10 * 144.015625, 0.01);
    EXPECT_DOUBLE_EQ(t.item("THREE FOUR").x, 720);
    EXPECT_NEAR(t.item("THREE FOUR").baseline, 1000 + Engine::spacing("Courier New", 12), 0.01);

    // A word that does not fit after earlier text moves to the next line whole.
    t.e.setCurrentX(11520 - 3 * 144.015625);
    t.e.Text("AB");
    t.e.Paragraph(" WORD");
    EXPECT_DOUBLE_EQ(t.item("WORD").x, 720);
}

TEST(PageEngineText, BoxedTextWrapsInsideTheBoxAndIsCutAtItsBottom)
{
    Engine t;
    t.e.setTextAlign(0);
    QString remark = "** REMARKS **\r";
    for (int i = 0; i < 40; ++i)
        remark += "word ";
    const double yBefore = t.e.CurrentY();
    t.e.BoxedText(remark, 1120, 13870, 6000, 1200);
    const PageItem &box = t.items().last();
    ASSERT_EQ(box.kind, PageItem::Kind::BoxedText);
    const QStringList lines = box.text.split('\n');
    // 12 pt Courier lines are 271.9 twips: four fit in 1200.
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], "** REMARKS **");
    for (const QString &line : lines)
        EXPECT_LE(t.e.MeasureText(line), 6000 - 2 * PageEngine::CellPadding + 1) << line.toStdString();
    EXPECT_DOUBLE_EQ(box.x, 1120);
    EXPECT_DOUBLE_EQ(box.height, 1200);
    EXPECT_DOUBLE_EQ(t.e.CurrentY(), yBefore);

    t.e.BoxedText("short", 720, 1000, 2000, 100); // not even one line fits
    EXPECT_EQ(t.items().last().text, "");
}

TEST(PageEngineText, RulesCarryTheirWidthAndStyle)
{
    Engine t;
    t.e.DrawLine(720, 4608, 11520, 4608);
    t.e.setRuleWidth(20);
    t.e.setRuleStyle(2);
    t.e.DrawLine(720, 5000, 11520, 5000);
    ASSERT_EQ(t.items().size(), 2);
    EXPECT_EQ(t.items()[0].kind, PageItem::Kind::Rule);
    EXPECT_DOUBLE_EQ(t.items()[0].penWidth, 0);
    EXPECT_EQ(t.items()[0].penStyle, 0);
    EXPECT_DOUBLE_EQ(t.items()[1].penWidth, 20);
    EXPECT_EQ(t.items()[1].penStyle, 2);
    EXPECT_DOUBLE_EQ(t.items()[1].x2, 11520);
}
