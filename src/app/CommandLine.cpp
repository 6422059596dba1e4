#include "app/CommandLine.h"

#include "status/StatusListen.h"

#include <QStringList>

namespace {

// Walks the arguments from `first`; `take` handles one and returns false for an unknown one.
// Qt's own options are left to the application object.
template <typename Take> void walk(int argc, char *argv[], int first, CommandLine &result, Take take)
{
    for (int i = first; i < argc && result.error.isEmpty(); ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        // The value of an option: "--name=value" or the next argument.
        const auto valueOf = [&](const QString &name) -> QString {
            if (arg.startsWith(name + '='))
                return arg.mid(name.size() + 1);
            if (i + 1 < argc)
                return QString::fromLocal8Bit(argv[++i]);
            result.error = QStringLiteral("%1 needs a value").arg(name);
            return {};
        };
        const auto is = [&](const char *name) {
            const QString option = QString::fromLatin1(name);
            return arg == option || arg.startsWith(option + '=');
        };
        if (arg == "--help" || arg == "-h") {
            result.help = true;
        } else if (is("--program-dir")) {
            result.programDir = valueOf(QStringLiteral("--program-dir"));
        } else if (arg.startsWith("-platform") || arg.startsWith("-style") || arg.startsWith("-qwindow")) {
            result.qtPlatformGiven = result.qtPlatformGiven || arg.startsWith("-platform");
            if (!arg.contains('=') && i + 1 < argc)
                ++i;
        } else if (!take(arg, is, valueOf)) {
            result.error = QStringLiteral("unknown argument \"%1\"").arg(arg);
        }
    }
}

void parseStation(int argc, char *argv[], CommandLine &result)
{
    walk(argc, argv, 1, result, [&](const QString &arg, const auto &is, const auto &valueOf) {
        if (arg == "--version") {
            result.version = true;
        } else if (arg == "--headless") {
            result.headless = true;
        } else if (is("--print-qty")) {
            result.printQty = valueOf(QStringLiteral("--print-qty"));
            // The same range the "Print Qty." box takes.
            bool ok = false;
            const int copies = result.printQty.toInt(&ok);
            if (result.error.isEmpty() && (!ok || copies < 0 || copies > 99))
                result.error = QStringLiteral("--print-qty needs a whole number from 0 to 99, not \"%1\"").arg(result.printQty);
        } else if (is("--status-listen")) {
            result.statusListen = valueOf(QStringLiteral("--status-listen"));
            QString problem;
            if (result.error.isEmpty() && !StatusListen::parse(result.statusListen, &problem))
                result.error = QStringLiteral("--status-listen: ") + problem;
        } else {
            return false;
        }
        return true;
    });
}

void parsePrint(int argc, char *argv[], CommandLine &result)
{
    result.print = true;
    PrintSelection &selection = result.printSelection;
    QString sheet;
    walk(argc, argv, 2, result, [&](const QString &arg, const auto &is, const auto &valueOf) {
        if (arg == "--all-new") {
            selection.allNew = true;
        } else if (is("--from")) {
            selection.from = valueOf(QStringLiteral("--from"));
        } else if (is("--to")) {
            selection.to = valueOf(QStringLiteral("--to"));
        } else if (arg == "--picking-sheets") {
            selection.pickingSheets = true;
        } else if (is("--sheet")) {
            sheet = valueOf(QStringLiteral("--sheet"));
        } else if (is("--printer")) {
            selection.printer = valueOf(QStringLiteral("--printer"));
        } else if (is("--copies")) {
            const QString copies = valueOf(QStringLiteral("--copies"));
            bool ok = false;
            selection.copies = copies.toInt(&ok);
            if (result.error.isEmpty() && !ok)
                result.error = QStringLiteral("--copies needs a whole number, not \"%1\"").arg(copies);
        } else {
            return false;
        }
        return true;
    });
    if (!result.error.isEmpty() || result.help)
        return;
    if (result.programDir.isEmpty()) {
        result.error = QStringLiteral("print needs --program-dir DIR");
    } else if (selection.allNew && (!selection.from.isEmpty() || !selection.to.isEmpty())) {
        result.error = QStringLiteral("--all-new and --from/--to exclude each other");
    } else if (!selection.allNew && (selection.from.trimmed().isEmpty() || selection.to.trimmed().isEmpty())) {
        result.error = QStringLiteral("print needs --all-new, or --from SO and --to SO");
    } else if (!sheet.isEmpty() && !selection.pickingSheets) {
        result.error = QStringLiteral("--sheet needs --picking-sheets");
    } else if (!sheet.isEmpty() && (selection.sheet = PrintSelection::sheetNamed(sheet)).isNull()) {
        result.error = QStringLiteral("--sheet is full, changed or both, not \"%1\"").arg(sheet);
    } else if (selection.copies < 1 || selection.copies > PrintSelection::MaxCopies) {
        result.error = QStringLiteral("--copies is 1 to %1").arg(PrintSelection::MaxCopies);
    }
}

} // namespace

CommandLine CommandLine::parse(int argc, char *argv[])
{
    CommandLine result;
    if (argc > 1 && QString::fromLocal8Bit(argv[1]) == QLatin1String("print"))
        parsePrint(argc, argv, result);
    else
        parseStation(argc, argv, result);
    return result;
}

QString CommandLine::usage()
{
    return QStringLiteral(
        "Usage: rfstation [--program-dir DIR] [--headless] [--print-qty N] [--status-listen ADDR:PORT]\n"
        "                 [--help] [--version]\n"
        "       rfstation print --program-dir DIR (--all-new | --from SO --to SO)\n"
        "                 [--picking-sheets [--sheet full|changed|both]] [--printer NAME] [--copies N]\n"
        "\n"
        "Watches the order queue folder of the suite's admodule folder, turns every terminal order\n"
        "into a sales order in the suite's database and prints it.\n"
        "\n"
        "  --program-dir DIR  the program folder (inside the suite's admodule folder);\n"
        "                     default: $RFSTATION_PROGRAM_DIR, else the folder of the executable\n"
        "  --headless         run without windows; messages go to standard error;\n"
        "                     SIGTERM or SIGINT stops after the order being converted\n"
        "  --print-qty N      copies printed of each new order (the \"Print Qty.\" box); 0 prints none\n"
        "  --status-listen ADDR:PORT\n"
        "                     serve the status page, /api/status, /healthz and /metrics on\n"
        "                     ADDR:PORT (127.0.0.1:8631, [::1]:8631); default: [Status] Listen=\n"
        "                     of tolvaprt.ini in the program folder, else no status page. Reading\n"
        "                     from another machine and every action need the token in\n"
        "                     rfstation-status.token in the program folder\n"
        "  --help             this text\n"
        "  --version          the program's version\n"
        "\n"
        "print: prints sales orders (or picking sheets) as the print window does, in the suite's\n"
        "layout style, without a window and beside a running station on the same folder.\n"
        "  --all-new          every order not printed yet\n"
        "  --from SO --to SO  the orders of that range\n"
        "  --picking-sheets   picking sheets instead of sales orders\n"
        "  --sheet KIND       full (default), changed (changed lines only) or both\n"
        "  --printer NAME     a CUPS queue or PDF; default: the print window's printer\n"
        "  --copies N         copies of each order (default 1); with --all-new the copies after\n"
        "                     the first reprint the orders the first printed\n"
        "\n"
        "Exit status: 0 normal end (print: printed); 1 no usable database (no connection, or the\n"
        "suite's tables or columns missing); 2 settings or folders wrong, no display without\n"
        "--headless, or (print) the printer not offered; 3 another station is running on the\n"
        "program folder; 4 (print) nothing printed: no order found, or the print failed;\n"
        "64 command line wrong.\n");
}
