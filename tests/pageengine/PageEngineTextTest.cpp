#include "pageengine/PageEngineFixture.h"

#include <QFontInfo>
#include <gtest/gtest.h>

TEST(PageEngineText, WindowsFontsMeasureWithTheLiberationMetrics)
{
    EXPECT_EQ(QFontInfo(PageFont::font("Courier New", 12, false)).family(), "Liberation Mono");
    EXPECT_EQ(QFontInfo(PageFont::font("Arial", 15, true)).family(), "Liberation Sans");
    Engine t;
    // Courier New: every character 0.6 em; 12 pt = 7.2 pt = 144 twips, also bold.
    for (const char *text : {"iiiiiiiiii", "MMMMMMMMMM", "1,234.56 -", "          "})
        EXPECT_NEAR(t.e.MeasureText(text), 1440, 0.5) << text;
    t.e.setFontBold(true);
    EXPECT_NEAR(t.e.MeasureText("WWWWWWWWWW"), 1440, 0.5);
    EXPECT_TRUE(t.e.setFontSize(QString("10"))); // layouts pass sizes as text
    EXPECT_FALSE(t.e.setFontSize(QString("big")));
    EXPECT_NEAR(t.e.MeasureText("ab\rabcd"), 480, 0.1); // the widest line
    t.e.setFontName("Arial");
    t.e.setFontSize(12);
    t.e.setFontBold(false);
    EXPECT_NEAR(t.e.MeasureText("M"), 200, 0.5); // 0.833 em
    EXPECT_NEAR(t.e.MeasureText("i"), 53.3, 0.5); // 0.222 em
}

TEST(PageEngineText, TextMovesCurrentXAndParagraphEndsTheLine)
{
    Engine t;
    const double lh = Engine::spacing("Courier New", 12);
    t.e.setCurrentY(1000);
    t.e.Text("ABC");
    EXPECT_NEAR(t.e.CurrentX(), 720 + 3 * Courier12, 0.01);
    EXPECT_DOUBLE_EQ(t.e.CurrentY(), 1000);
    t.e.Paragraph("DE");
    EXPECT_NEAR(t.item("DE").x, 720 + 3 * Courier12, 0.01);
    EXPECT_DOUBLE_EQ(t.e.CurrentX(), 720);
    EXPECT_NEAR(t.e.CurrentY(), 1000 + lh, 0.01);
    t.e.Paragraph(""); // an empty line
    t.e.setLineSpacing(80);
    t.e.Paragraph("X");
    t.e.setLineSpacing(120);
    t.e.Paragraph("Y\rZ"); // Chr(13) ends the line
    EXPECT_NEAR(t.item("Z").baseline, 1000 + 2.8 * lh + 1.2 * lh, 0.01);
    EXPECT_NEAR(t.e.CurrentY(), 1000 + 2.8 * lh + 2.4 * lh, 0.01);
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
}

TEST(PageEngineText, PiecesOfSeveralSizesShareABaselineAndTheTallestSetsTheLine)
{
    Engine t;
    t.e.setCurrentY(2000);
    const std::pair<double, const char *> pieces[] = {{10, "    "}, {11, "- S"}, {13, " 12"}, {8, "   (#3)"}};
    for (const auto &[size, text] : pieces) {
        t.e.setFontSize(size);
        t.e.Text(text);
    }
    t.e.Paragraph("");
    for (const auto &[size, text] : pieces)
        EXPECT_DOUBLE_EQ(t.item(text).baseline, 2000) << text;
    EXPECT_NEAR(t.item(" 12").x, t.item("- S").right(), 0.01);
    EXPECT_NEAR(t.e.CurrentY(), 2000 + Engine::spacing("Courier New", 13), 0.01);

    // Top codes put every piece's top at CurrentY instead.
    t.e.setTextAlign(0);
    t.e.Text("small");
    t.e.setFontSize(14);
    t.e.Paragraph("large");
    EXPECT_DOUBLE_EQ(t.item("small").y, t.item("large").y);
}

TEST(PageEngineText, AlignmentCodesPlaceTextBetweenTheMargins)
{
    Engine t;
    const double w = 5 * Courier12;
    const std::pair<int, double> cases[] = {{0, 720}, {6, 720}, {2, 11520 - w}, {7, 11520 - w},
                                            {8, 720 + (10800 - w) / 2}, {99, 720}};
    for (const auto &[code, x] : cases) {
        t.e.setTextAlign(code);
        const QString text = QStringLiteral("C%1").arg(code, 4, 10, QLatin1Char('_'));
        t.e.Paragraph(text);
        EXPECT_NEAR(t.item(text).x, x, 0.01) << code;
    }
    // Consecutive right or centred pieces stay together as one run.
    t.e.setTextAlign(2);
    t.e.Text("EF");
    t.e.Paragraph("GH");
    EXPECT_NEAR(t.item("GH").right(), 11520, 0.01);
    EXPECT_NEAR(t.item("EF").right(), t.item("GH").x, 0.01);
    t.e.setTextAlign(8);
    t.e.Text("AB");
    t.e.Text("CD");
    EXPECT_NEAR(t.item("AB").x, 720 + (10800 - 4 * Courier12) / 2, 0.01);
    EXPECT_NEAR(t.e.CurrentX(), t.item("CD").right(), 0.01);
    // Centred text is centred in the room right of CurrentX.
    t.e.setCurrentY(5000);
    t.e.setCurrentX(6120);
    t.e.Paragraph("1/2");
    EXPECT_NEAR(t.item("1/2").x, 6120 + (11520 - 6120 - 3 * Courier12) / 2, 0.01);
}

TEST(PageEngineText, LongTextWrapsAtTheRightMarginAfterABlank)
{
    Engine t;
    t.e.setCurrentY(1000);
    t.e.setCurrentX(11520 - 10 * Courier12); // room for ten characters
    t.e.Paragraph("ONE TWO THREE FOUR");
    EXPECT_NEAR(t.item("ONE TWO").x, 11520 - 10 * Courier12, 0.01);
    EXPECT_DOUBLE_EQ(t.item("THREE FOUR").x, 720);
    EXPECT_NEAR(t.item("THREE FOUR").baseline, 1000 + Engine::spacing("Courier New", 12), 0.01);
    // A word that does not fit after earlier text moves to the next line whole.
    t.e.setCurrentX(11520 - 3 * Courier12);
    t.e.Text("AB");
    t.e.Paragraph(" WORD");
    EXPECT_DOUBLE_EQ(t.item("WORD").x, 720);
}

TEST(PageEngineText, BoxedTextWrapsInsideTheBoxAndIsCutAtItsBottom)
{
    Engine t;
    t.e.setTextAlign(0);
    const double yBefore = t.e.CurrentY();
    t.e.BoxedText("** REMARKS **\r" + QString("word ").repeated(40), 1120, 13870, 6000, 1200);
    const PageItem &box = t.items().last();
    ASSERT_EQ(box.kind, PageItem::Kind::BoxedText);
    const QStringList lines = box.text.split('\n');
    ASSERT_EQ(lines.size(), 4); // 12 pt lines are 271.9 twips: four fit in 1200
    EXPECT_EQ(lines[0], "** REMARKS **");
    for (const QString &line : lines)
        EXPECT_LE(t.e.MeasureText(line), 6000 - 2 * PageEngine::CellPadding + 1) << line.toStdString();
    EXPECT_DOUBLE_EQ(t.e.CurrentY(), yBefore);
    t.e.BoxedText("short", 720, 1000, 2000, 100); // not even one line fits
    EXPECT_EQ(t.items().last().text, "");
}
