#include "app/CommandLine.h"

#include <QStringList>

CommandLine CommandLine::parse(int argc, char *argv[])
{
    CommandLine result;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        const auto valueOf = [&](const QString &name) -> QString {
            if (arg.startsWith(name + '='))
                return arg.mid(name.size() + 1);
            if (i + 1 < argc)
                return QString::fromLocal8Bit(argv[++i]);
            result.error = QStringLiteral("%1 needs a value").arg(name);
            return {};
        };
        if (arg == "--help" || arg == "-h") {
            result.help = true;
        } else if (arg == "--version") {
            result.version = true;
        } else if (arg == "--headless") {
            result.headless = true;
        } else if (arg == "--program-dir" || arg.startsWith("--program-dir=")) {
            result.programDir = valueOf(QStringLiteral("--program-dir"));
        } else if (arg == "--print-qty" || arg.startsWith("--print-qty=")) {
            result.printQty = valueOf(QStringLiteral("--print-qty"));
            bool ok = false;
            result.printQty.toInt(&ok);
            if (result.error.isEmpty() && !ok)
                result.error = QStringLiteral("--print-qty needs a whole number, not \"%1\"").arg(result.printQty);
        } else if (arg.startsWith("-platform") || arg.startsWith("-style") || arg.startsWith("-qwindow")) {
            // Qt's own options are left to QApplication.
            result.qtPlatformGiven = result.qtPlatformGiven || arg.startsWith("-platform");
            if (!arg.contains('=') && i + 1 < argc)
                ++i;
        } else {
            result.error = QStringLiteral("unknown argument \"%1\"").arg(arg);
        }
        if (!result.error.isEmpty())
            break;
    }
    return result;
}

QString CommandLine::usage()
{
    return QStringLiteral(
        "Usage: rfstation [--program-dir DIR] [--headless] [--print-qty N] [--help] [--version]\n"
        "\n"
        "Watches the order queue folder of the suite's admodule folder, turns every terminal order\n"
        "into a sales order in the suite's database and prints it.\n"
        "\n"
        "  --program-dir DIR  the program folder (inside the suite's admodule folder);\n"
        "                     default: $RFSTATION_PROGRAM_DIR, else the folder of the executable\n"
        "  --headless         run without windows; messages go to standard error;\n"
        "                     SIGTERM or SIGINT stops after the order being converted\n"
        "  --print-qty N      copies printed of each new order (the \"Print Qty.\" box); 0 prints none\n"
        "  --help             this text\n"
        "  --version          the program's version\n"
        "\n"
        "Exit status: 0 normal end; 1 no usable database (no connection, or the suite's tables or\n"
        "columns missing); 2 settings or folders wrong, or no display without --headless;\n"
        "3 another station is running on the program folder; 64 command line wrong.\n");
}
