// The real program, headless, on one suite per layout style: the orders it converts print as PDF
// in that style's own design, whose text shows the style's own headings.

#include "support/PdfText.h"
#include "app/Station.h"
#include "support/TempSuite.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <memory>

namespace {

struct StyleRun
{
    const char *code;
    const char *autoSoDefault; // "Y" sales orders, "N" picking sheets
    QStringList headings;
    std::unique_ptr<TempSuite> suite = std::make_unique<TempSuite>(TempSuite::Data::Demo);
    std::unique_ptr<Station> station = nullptr;
    QStringList pdfs() const
    {
        return QDir(suite->programDir() + "/printout").entryList({"*.pdf"}, QDir::Files, QDir::Name);
    }
};

} // namespace

TEST(HeadlessStyles, ConvertedOrdersPrintInTheStyleOfTheirSuite)
{
    // A1T1A: variants AB-S/M/L/XL kept in lots, a cap, a matrix item; A1T3A: 10 % discount.
    // The title, texts only that style prints, and the page label laid over.
    StyleRun runs[] = {
        {"REGGENERIC", "Y", {"PICKING SHEET", "UNIT PRICE", "Total :", "Page: 1/1"}},
        {"IMPPROFORMA", "Y", {"SALES ORDER", "DISCOUNT (10.00%)", "Dana Whitfield", "Page: 1/1"}},
        {"REGBOX", "N", {"PICKING SHEET", "Box", "D/C %", "Page: 1/1"}},
        {"REGLOT", "N", {"PICKING SHEET", "L2611A", "Total Qty: ", "Page: 1/1"}},
        {"GRPDESC", "N", {"PICKING SHEET", "S-(12)", "Packed By:", "1/1"}},
    };
    const QDir samples(QStringLiteral(RFSTATION_SOURCE_DIR "/schema/demo-orders"));
    for (StyleRun &run : runs) {
        run.suite->setIni("AUTOPICKINGSHEET", "Format", run.code);
        run.suite->setIni("PICKINGSHEET", "AutoSoDefault", run.autoSoDefault);
        run.suite->setIni("AutoSoPrint", "DefaultPrinter", "PDF");
        for (const char *name : {"A1T1Ainfo.crd", "A1T1A.ord", "A1T3Ainfo.crd", "A1T3A.ord"})
            ASSERT_TRUE(QFile::copy(samples.filePath(name), run.suite->queueDir() + "/" + name));
        run.station = std::make_unique<Station>(run.suite->programDir(), 1);
    }

    // The stations run side by side; each is done when both its orders are printed and marked.
    for (StyleRun &run : runs) {
        const auto done = [&] {
            return run.suite->count("SELECT * FROM so WHERE ordstatus = 1") >= 2 && run.pdfs().size() >= 2;
        };
        ASSERT_TRUE(run.station->waitFor(done, 120)) << run.code << "\n" << run.station->log.toStdString();
        EXPECT_EQ(run.station->stop(), 0) << run.code << "\n" << run.station->log.toStdString();

        QString text;
        for (const QString &file : run.pdfs())
            text += pdfText(run.suite->programDir() + "/printout/" + file);
        for (const QString &heading : run.headings)
            EXPECT_TRUE(text.contains(heading)) << run.code << ": " << heading.toStdString() << "\n"
                                                << text.toStdString();
    }
}
