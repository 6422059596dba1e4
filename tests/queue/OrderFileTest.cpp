// Order files as terminals, editors and accidents write them: how they are read and what the
// conversion makes of them.

#include "queue/FakeOrderLookups.h"
#include "queue/OrderFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

QString describe(const QList<OrderRecord> &records)
{
    QStringList parts;
    for (const OrderRecord &r : records)
        parts << r.itemNo + '=' + QString::number(r.quantity);
    return parts.join('|');
}

} // namespace

TEST(OrderFile, RecordsSplitAtLineEndsCommasAndQuotes)
{
    const struct
    {
        QByteArray content;
        QString expected;
    } cases[] = {
        {"AB-S\t12\r\nAB-M\t24\r\n", "AB-S=12|AB-M=24"},
        {"A\t1\nB\t2\rC\t3", "A=1|B=2|C=3"},                 // bare LF, bare CR, no last line end
        {"ABC\r\nD\t2.5\r\nE\tx\r\nF\t1O", "ABC=0|D=2.5|E=0|F=0"},
        {"ABC\t1,5\r\n", "ABC=1|5=0"},                       // a comma splits the line
        {"\"AB,C\t3\"\r\n\"X\r\nY\t2\"junk,Z", "AB,C=3|X\r\nY=2|Z=0"},
        {"\"AB\t4\r\nCD\t1", "AB=0"},                        // an unclosed quote runs to the end
        {"A\t1\r\n\r\nB\t2", "A=1|=0|B=2"},                  // a blank line is an empty record
        {"A\t2\t3\r\nB\t 7 ", "A=0|B=7"},
        {"CAF\xC9\t1", QString::fromLatin1("CAF\xC9=1")},    // single-byte text
        {"\xEF\xBB\xBF" "CAF\xC3\x89\t1", QString::fromLatin1("CAF\xC9=1")}, // with a mark: UTF-8
        {"", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(describe(ParseOrderRecords(c.content)), c.expected) << c.content.toStdString();
}

TEST(OrderFile, OddFilesAreReadSafelyAndNamedToTheOperator)
{
    enum Kind { Plain, LinkToFifo, ChangedAfterListing };
    const QByteArray manyRecords = QByteArray("GC25\t1\r\n").repeated(MaxOrderRecords + 1);
    const struct
    {
        const char *name;
        QByteArray content;
        QString expected; // the reason, or the lines' quantities and the notes
        Kind kind = Plain;
    } cases[] = {
        {"mark", "\xEF\xBB\xBFGC25\t2\r\n", "2"},
        {"empty record", "GC25\t1\r\n\r\nMUG600\t2\r\n", "Error: record 2 is empty"},
        {"no item", "GC25\t1\r\n\t3", "Error: record 2 has no item number"},
        {"lookup fails", "DB-DOWN\t1", "Error: item DB-DOWN could not be looked up (database error)"},
        {"abc", "GC25\tabc\r\nMUG600\t1", "0,1 | record 1: quantity \"abc\" read as 0"},
        {"12x", "GC25\t2\r\nMUG600\t12x", "2,0 | record 2: quantity \"12x\" read as 0"},
        {"no quantity", "GC25\t\r\nMUG600\t1", "0,1 | record 1: quantity \"\" read as 0"},
        {"no TAB", "GC25\r\nMUG600\t1", "0,1 | record 1: no TAB, quantity read as 0"},
        {"1e400", "GC25\t1e400\r\nMUG600\t1", "0,1 | record 1: quantity \"1e400\" read as 0"},
        {"long", "GC25\t" + QByteArray(10000, '9') + "\r\nMUG600\t1",
         "0,1 | record 1: quantity \"99999999999999999999...\" read as 0"},
        {"all 0", "GC25\t0\r\nMUG600\tx\r\n",
         "Error: no line of the order has a quantity other than 0 (record 2: quantity \"x\" read as 0)"},
        {"return", "MUG600\t-2\r\nGC25\t1", "-2,1"},
        {"NUL", QByteArray("GC25\t1\r\nGC\0" "25\t1\r\n", 17), "Error: the order file is damaged: record 2 holds a NUL byte"},
        {"FIFO", "", "Error: the order file is a link to a FIFO, not a plain file; it is not read", LinkToFifo},
        {"too large", QByteArray(MaxOrderFileBytes + 1, '\n'),
         "Error: the order file is 1048577 bytes, more than an order file may hold (1048576)"},
        {"too many", manyRecords, "Error: the order file holds more than 10000 records"},
        {"changed", "GC25\t1\r\n", "changed", ChangedAfterListing},
    };
    QTemporaryDir dir;
    FakeOrderLookups lookups;
    for (const auto &c : cases) {
        const QString path = dir.filePath(QString::fromLatin1(c.name) + ".ord");
        if (c.kind == LinkToFifo) {
            ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("fifo")).constData(), 0600), 0);
            ASSERT_TRUE(QFile::link(dir.filePath("fifo"), path));
        } else {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(c.content) == c.content.size());
        }
        // As the queue listing saw it; a writer then adds a line.
        const FileStamp listed = FileStamp::of(path);
        if (c.kind == ChangedAfterListing) {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::Append) && file.write("MUG600\t2\r\n") > 0);
        }

        QString outcome;
        const OrderFileContent read = ReadOrderFile(path, listed);
        if (read.changed) {
            outcome = "changed";
        } else if (!read.refusal.isEmpty()) {
            outcome = read.refusal;
        } else {
            const SalesOrderDraft order =
                DraftSalesOrder(read.records, customerRow(), lookups, {"C1001", 1, QDateTime::currentDateTime()});
            QStringList quantities;
            for (const DraftLine &line : order.lines)
                quantities << QString::number(line.ordered);
            outcome = order.failure.isEmpty() ? (QStringList{quantities.join(',')} + order.notes).join(" | ")
                                              : order.failure;
        }
        EXPECT_EQ(outcome, c.expected) << c.name;
    }
}
