// rfstation print: the print window's dispatch without a window, in the suite's style, beside a
// station running on the same program folder.

#include "app/Station.h"
#include "support/PdfText.h"
#include "support/TempSuite.h"

#include <QDir>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct CommandRun
{
    int status = -1;
    QString out;
    QString err;
};

CommandRun printCommand(const QStringList &arguments)
{
    QProcess command;
    command.start(QStringLiteral(RFSTATION_EXECUTABLE), QStringList{"print"} + arguments);
    CommandRun run;
    if (command.waitForFinished(120000) && command.exitStatus() == QProcess::NormalExit)
        run.status = command.exitCode();
    run.out = QString::fromLocal8Bit(command.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(command.readAllStandardError());
    return run;
}

QSet<QString> pdfs(const TempSuite &suite)
{
    const QStringList files = QDir(suite.programDir() + "/printout").entryList({"*.pdf"}, QDir::Files);
    return {files.begin(), files.end()};
}

// The PDF files that came since `before`, each file's text.
QStringList newPdfTexts(const TempSuite &suite, const QSet<QString> &before)
{
    QStringList texts;
    for (const QString &file : pdfs(suite) - before)
        texts.append(pdfText(suite.programDir() + "/printout/" + file));
    return texts;
}

} // namespace

TEST(PrintCommand, PrintsARangeOfPickingSheetsAndAllNewOrdersBesideARunningStation)
{
    TempSuite suite(TempSuite::Data::DemoWithOrders);
    suite.setIni("AUTOPICKINGSHEET", "Format", "GRP");
    suite.setIni("AutoSoPrint", "DefaultPrinter", "PDF");
    Station station(suite.programDir(), 0);
    ASSERT_TRUE(station.waitFor([&] { return station.log.contains("watching"); }, 60)) << station.log.toStdString();

    // "GRP" picking sheets of the range, full: one job with every order of it.
    QSet<QString> before = pdfs(suite);
    const CommandRun sheets = printCommand({"--program-dir", suite.programDir(), "--from", "so000951", "--to",
                                            "SO000953", "--picking-sheets", "--sheet", "full", "--printer", "PDF"});
    EXPECT_EQ(sheets.status, 0) << sheets.err.toStdString();
    EXPECT_EQ(sheets.out, "Printed picking sheets SO000951 to SO000953 on PDF.\n");
    QStringList texts = newPdfTexts(suite, before);
    ASSERT_EQ(texts.size(), 1) << sheets.err.toStdString();
    for (const char *text : {"PICKING SHEET", "SORDER NO: SO000951", "SORDER NO: SO000952", "SORDER NO: SO000953",
                             "Fleece Pullover Hoodie - Large", "TRANSACTION: Reprint...", "PACKED BY"})
        EXPECT_TRUE(texts[0].contains(text)) << text << "\n" << texts[0].toStdString();
    EXPECT_EQ(suite.count("SELECT * FROM so WHERE invno BETWEEN 'SO000951' AND 'SO000953' AND ordstatus = 0"), 0);

    // Nothing in the range: nothing printed, and the exit status says so.
    before = pdfs(suite);
    const CommandRun none =
        printCommand({"--program-dir", suite.programDir(), "--from", "SO009990", "--to", "SO009999"});
    EXPECT_EQ(none.status, 4);
    EXPECT_TRUE(none.err.contains("rfstation print: ") && none.err.contains("SO009990")) << none.err.toStdString();
    EXPECT_TRUE(pdfs(suite) == before);

    // All new sales orders in the standard style, twice: the second copy reprints what the first printed.
    suite.setIni("AUTOPICKINGSHEET", "Format", "REG");
    const int newOrders = suite.count("SELECT * FROM so WHERE ordstatus = 0");
    ASSERT_GT(newOrders, 0);
    const QString first = suite.scalar("SELECT MIN(invno) FROM so WHERE ordstatus = 0").toString();
    before = pdfs(suite);
    const CommandRun allNew = printCommand({"--program-dir", suite.programDir(), "--all-new", "--copies", "2"});
    EXPECT_EQ(allNew.status, 0) << allNew.err.toStdString();
    EXPECT_EQ(allNew.out, "Printed all new sales orders on PDF, 2 copies.\n");
    texts = newPdfTexts(suite, before);
    EXPECT_EQ(texts.size(), 2 * newOrders);
    EXPECT_EQ(texts.filter(first).size(), 2) << first.toStdString();
    EXPECT_EQ(suite.count("SELECT * FROM so WHERE ordstatus = 0"), 0);

    // No new order left: nothing printed.
    EXPECT_EQ(printCommand({"--program-dir", suite.programDir(), "--all-new"}).status, 4);
    // The station ran on throughout and ends cleanly.
    EXPECT_EQ(station.stop(), 0) << station.log.toStdString();
}

TEST(PrintCommand, AWrongCommandLineOrFolderIsRefusedWithItsReason)
{
    QTemporaryDir outside;
    const QString folder = outside.path();
    const struct
    {
        QStringList arguments;
        int status;
        const char *reason;
    } cases[] = {
        {{"--all-new"}, 64, "print needs --program-dir DIR"},
        {{"--program-dir", folder}, 64, "print needs --all-new, or --from SO and --to SO"},
        {{"--program-dir", folder, "--from", "SO1"}, 64, "print needs --all-new, or --from SO and --to SO"},
        {{"--program-dir", folder, "--all-new", "--from", "SO1"}, 64, "--all-new and --from/--to exclude each other"},
        {{"--program-dir", folder, "--all-new", "--sheet", "both"}, 64, "--sheet needs --picking-sheets"},
        {{"--program-dir", folder, "--all-new", "--picking-sheets", "--sheet", "half"},
         64,
         "--sheet is full, changed or both"},
        {{"--program-dir", folder, "--all-new", "--copies", "0"}, 64, "--copies is 1 to 99"},
        {{"--program-dir", folder, "--all-new", "--headless"}, 64, "unknown argument \"--headless\""},
        {{"--program-dir", folder, "--all-new"}, 2, "is not inside the suite's admodule folder"},
    };
    for (const auto &wrong : cases) {
        const CommandRun run = printCommand(wrong.arguments);
        EXPECT_EQ(run.status, wrong.status) << wrong.arguments.join(' ').toStdString() << "\n" << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(wrong.reason)) << wrong.arguments.join(' ').toStdString() << "\n"
                                                    << run.err.toStdString();
    }
}
