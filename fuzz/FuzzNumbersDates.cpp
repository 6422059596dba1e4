// The number and date parsers and the format patterns: a text, a line break, a pattern.

#include "runtime/DbError.h"
#include "runtime/VbFormat.h"

#include <QDateTime>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString input = QString::fromLatin1(reinterpret_cast<const char *>(data), qsizetype(size));
    const qsizetype newline = input.indexOf(QLatin1Char('\n'));
    const QString text = newline < 0 ? input : input.left(newline);
    const QString pattern = newline < 0 ? QString() : input.mid(newline + 1);
    try {
        const double value = vb::Val(text);
        vb::formatNumber(value, pattern);
        vb::Str(value);
    } catch (const DbError &) {
        // Overflow is the answer for numbers too large for a double.
    }
    if (const auto number = vb::parseNumber(text)) {
        try {
            vb::formatNumber(*number, pattern);
        } catch (const DbError &) {
        }
    }
    vb::IsNumeric(QVariant(text));
    if (const auto when = vb::toDateTime(QVariant(text)))
        vb::formatDateTime(*when, pattern);
    try {
        vb::format(QVariant(text), pattern);
    } catch (const DbError &) {
        // Overflow: a number given a date pattern whose serial is no date (before year 100 or
        // after 9999).
    }
    return 0;
}
