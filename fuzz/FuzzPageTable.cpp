// The page engine's table strings: the column format and the header and body rows.

#include "pageengine/PageTable.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The first line is a format, the rest rows; each is also tried as the other.
    const QString text = QString::fromLatin1(reinterpret_cast<const char *>(data), qsizetype(size));
    const qsizetype newline = text.indexOf(QLatin1Char('\n'));
    const QString format = newline < 0 ? text : text.left(newline);
    const QString rows = newline < 0 ? QString() : text.mid(newline + 1);
    if (const auto columns = PageTable::parseFormat(format)) {
        for (const PageTable::Column &column : *columns) {
            if (!(column.width >= 0))
                __builtin_trap();
        }
    }
    PageTable::parseFormat(rows);
    PageTable::parseRows(rows);
    PageTable::parseRows(format);
    return 0;
}
