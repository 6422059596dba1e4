#include "printing/StyleCodes.h"

#include <array>

namespace {

struct StyleCode
{
    const char *code;
    const char *sheetAndOrder;
    const char *headerBars;
    const char *drivers;
    const char *items;
};

constexpr const char *AllDrivers = "Printer Driver Support : All Windows Printer Driver";
constexpr const char *AllItems = "Item Type Support : All";
constexpr const char *OneBar = "# of Header Bar: 1";

constexpr std::array<StyleCode, 6> Codes{{
    {"REG", "P/Sheet Style : Standard -- S/O : Standard", OneBar, AllDrivers, AllItems},
    {"REGGENERIC", "P/Sheet Style : Standard -- S/O : Standard", OneBar,
     "Printer Driver Support : Generic / Text Only Printer Driver", AllItems},
    {"REGBOX", "P/Sheet Style : Standard with Box # Column -- S/O : Standard", OneBar, AllDrivers, AllItems},
    {"REGLOT", "P/Sheet Style : Standard with Lot # Column -- S/O : Standard", OneBar, AllDrivers, AllItems},
    {"IMPPROFORMA", "P/Sheet Style : Standard -- S/O : Proforma Invoice Format", OneBar, AllDrivers, AllItems},
    {"GRP", "P/Sheet Style : Items Grouped -- S/O : Items Grouped", "# of Header Bar: 2", AllDrivers,
     "Item Type Support : Group Item Only"},
}};

} // namespace

namespace StyleCodes {

QStringList offered()
{
    QStringList codes;
    for (const StyleCode &style : Codes)
        codes << QString::fromLatin1(style.code);
    return codes;
}

QString description(const QString &code)
{
    const QString separator = QStringLiteral("\r\r");
    for (const StyleCode &style : Codes) {
        if (code == QLatin1String(style.code))
            return QString::fromLatin1(style.sheetAndOrder) + separator + QString::fromLatin1(style.headerBars)
                 + separator + QString::fromLatin1(style.drivers) + separator + QString::fromLatin1(style.items);
    }
    return {};
}

} // namespace StyleCodes
