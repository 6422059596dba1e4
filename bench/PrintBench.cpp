// Lays out and prints sales orders in the standard layout style to the "PDF" printer, through
// the print window as the operator's "All New Sales Orders" print does, and reports pages per
// second and the cost of one order (layout, page numbers, PDF file, status update). The layout
// alone is timed by previewing one order as often as there are orders.
//
//   bench_print [--orders N] [--lines N] [--runs N]

#include "BenchSupport.h"
#include "printui/ModalRunner.h"
#include "module1/Module1.h"
#include "runtime/PrivateProfile.h"
#include "styles/StyleRegistration.h"
#include "printui/mm_prtinv.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

namespace {

// The demo suite with `orders` new sales orders of `lines` lines: mostly plain items, every
// fifth line a colour/size cell of a matrix item.
bool makeSuite(const QString &root, int orders, int lines)
{
    const QString database = root + "/suite.db";
    if (!QDir().mkpath(root + "/admodule"))
        return false;
    // Only the bench's orders: the demo's own are cleared.
    QByteArray data = "BEGIN; DELETE FROM sochanged; DELETE FROM sodetail; DELETE FROM so;";
    for (int o = 1; o <= orders; ++o) {
        const QString invno = QStringLiteral("SO%1").arg(o, 6, 10, QLatin1Char('0'));
        double amount = 0;
        for (int l = 1; l <= lines; ++l) {
            const bool matrix = l % 5 == 0;
            const double qty = 1 + l % 7;
            amount += qty * 12.5;
            data += QStringLiteral("INSERT INTO sodetail (autonum, invno, linenum, itemno, Description, itype, rowtext, "
                                   "coltext, qord, qbord, unit, extended) VALUES ('%1%2', '%1', %3, '%4', '%5', '%6', "
                                   "'%7', 'M', %8, 0, 12.5, %9);")
                        .arg(invno, QStringLiteral("%1").arg(l, 4, 10, QLatin1Char('0')))
                        .arg(l)
                        .arg(matrix ? QStringLiteral("POLO200") : QStringLiteral("ITEM%1").arg(l, 3, 10, QLatin1Char('0')),
                             matrix ? QStringLiteral("Pique Polo Shirt") : QStringLiteral("Bench article number %1").arg(l),
                             matrix ? QStringLiteral("m") : QStringLiteral("nm"), matrix ? QStringLiteral("NAVY") : QString())
                        .arg(qty)
                        .arg(qty * 12.5)
                        .toUtf8();
        }
        data += QStringLiteral("INSERT INTO so (invno, CustNo, invdate, orddate, amount, freight, dc, total, ordtype, "
                               "ordstatus, custpo, terms, salesman, shipvia, fob, remark, sadressname) VALUES ('%1', "
                               "'C100%2', '2026-12-04', '2026-12-09', %3, 10, 0, %4, 0, 0, 'PO-%2', 'NET30', 'S01', "
                               "'GROUND', 'ORIGIN', 'Bench order', ' Same As Bill To');")
                    .arg(invno)
                    .arg(1 + o % 7)
                    .arg(amount)
                    .arg(amount + 10)
                    .toUtf8();
    }
    data += "COMMIT;";
    return BenchSupport::runScript(database,
                                   BenchSupport::readFile(QStringLiteral(RFSTATION_SOURCE_DIR "/schema/suite-sqlite.sql")))
        && BenchSupport::runScript(database,
                                   BenchSupport::readFile(QStringLiteral(RFSTATION_SOURCE_DIR "/schema/demo-data.sql")))
        && BenchSupport::runScript(database, data)
        && PrivateProfile::writeString("Access", "DBName", database, root + "/tolvaacc.ini")
        && PrivateProfile::writeString("Access", "DBType", "0", root + "/tolvaacc.ini")
        && PrivateProfile::writeString("AUTOPICKINGSHEET", "Format", "REG", root + "/tolvaacc.ini");
}

// Pages of every PDF file in the folder (page objects of the files).
int countPages(const QString &folder, int *files)
{
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page[^s]"));
    int pages = 0;
    const QDir dir(folder);
    const QStringList names = dir.entryList({QStringLiteral("*.pdf")}, QDir::Files);
    *files = names.size();
    for (const QString &name : names) {
        const QString content = QString::fromLatin1(BenchSupport::readFile(dir.filePath(name)));
        pages += int(content.count(page));
    }
    return pages;
}

// The print window loaded as the operator leaves it to print sales orders to "PDF":
// `selection` 0 is "All New Sales Orders", 1 "All Selected".
void preparePrintWindow(mm_prtinv &form, int selection)
{
    form.Form_Load();
    form.cmb_printers->setCurrentText(QStringLiteral("PDF"));
    form.Option1[selection]->setChecked(true);
    form.Option2[0]->setChecked(true);
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int orders = BenchSupport::intOption(argc, argv, "--orders", 100);
    const int lines = BenchSupport::intOption(argc, argv, "--lines", 30);
    const int runs = std::max(1, BenchSupport::intOption(argc, argv, "--runs", 3));

    QTemporaryDir temp;
    const QString root = temp.path() + "/Suite";
    if (!temp.isValid() || !makeSuite(root, orders, lines))
        return 1;
    const QString programDir = root + "/admodule";
    registerLayoutStyles();

    qint64 bestWallNs = 0, bestCpuNs = 0;
    int pages = 0, files = 0;
    for (int run = 1; run <= runs; ++run) {
        QDir(programDir + "/printout").removeRecursively();
        BenchSupport::runScript(root + "/suite.db", "UPDATE so SET ordstatus = 0;");
        mm_prtinv form(programDir);
        preparePrintWindow(form, 0);

        QElapsedTimer wall;
        wall.start();
        const qint64 cpuStart = BenchSupport::cpuNs();
        const QString failure = form.Print_So(0, QString(), QString());
        const qint64 cpu = BenchSupport::cpuNs() - cpuStart;
        const qint64 elapsed = wall.nsecsElapsed();
        if (!failure.isEmpty()) {
            std::fprintf(stderr, "print failed: %s\n", qPrintable(failure));
            return 1;
        }
        pages = countPages(programDir + "/printout", &files);
        if (run == 1 || elapsed < bestWallNs) {
            bestWallNs = elapsed;
            bestCpuNs = cpu;
        }
        std::printf("run %d: %d orders, %d files, %d pages in %.2f s (CPU %.2f s)\n", run, orders, files, pages,
                    elapsed / 1e9, cpu / 1e9);
    }
    // Layout alone: a preview lays out the first order and prints nothing.
    ModalRunner::setRunner([](QDialog &) { return int(QDialog::Rejected); });
    qint64 layoutNs = 0;
    {
        mm_prtinv form(programDir);
        preparePrintWindow(form, 1);
        QElapsedTimer wall;
        wall.start();
        for (int o = 0; o < orders; ++o)
            form.Print_So(-1, QStringLiteral("SO000001"), QStringLiteral("SO000001"));
        layoutNs = wall.nsecsElapsed();
    }
    std::printf("layout alone: %.1f ms per order\n", layoutNs / 1e6 / orders);

    std::printf("best of %d (%s build): %.1f pages/s, %.1f ms per order of %d lines (CPU %.1f ms), %.1f pages per order\n",
                runs, RFSTATION_BUILD_TYPE, pages / (bestWallNs / 1e9), bestWallNs / 1e6 / orders, lines,
                bestCpuNs / 1e6 / orders, double(pages) / orders);
    return files == orders ? 0 : 1;
}
