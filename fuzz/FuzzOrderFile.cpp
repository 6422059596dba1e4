// The order file reader: records of item number, TAB, quantity, from any bytes a terminal or an
// editor may leave in the queue.

#include "queue/OrderFile.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray content(reinterpret_cast<const char *>(data), qsizetype(size));
    for (const OrderRecord &record : ParseOrderRecords(content)) {
        if (!std::isfinite(record.quantity))
            __builtin_trap();
    }
    return 0;
}
