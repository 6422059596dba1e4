#pragma once

#include "queue/QueueFiles.h"

#include <QByteArray>
#include <QList>
#include <QString>

// A terminal order file: records of item number, TAB, quantity.
//  - a record ends at a line end (CR, LF or CR LF) or at a comma, so "ABC\t1,5" is two records;
//  - a record that starts with a double quote runs to the next double quote (commas and line ends
//    included); the quotes are not part of it and the rest up to the next separator is dropped;
//  - the item number is the text before the first TAB, the quantity the text after it, taken as a
//    number when the whole of it reads as one and 0 otherwise; no TAB means quantity 0.
// The files are single-byte text. A leading UTF-8 byte-order mark (editors write one) is not part
// of the data and says the file is UTF-8.
struct OrderRecord
{
    enum class Quantity { Number, NoTab, NotANumber };

    QString itemNo;
    double quantity = 0.0;
    Quantity read = Quantity::Number; // NoTab and NotANumber read as 0
    QString quantityText;             // as written after the first TAB

    bool isEmpty() const { return itemNo.isEmpty() && read == Quantity::NoTab; }
    bool operator==(const OrderRecord &) const = default;
};

// The records of `content`; stops after `maxRecords` + 1 records, so a caller can tell too many.
QList<OrderRecord> ParseOrderRecords(const QByteArray &content, qsizetype maxRecords = -1);

// For the operator, a record whose quantity was read as 0 because it is not a number:
// `record 3: quantity "12x" read as 0`. "" when the quantity was a number, and for an empty
// record.
QString UnreadQuantityNote(const OrderRecord &record, int recordNo);

// What an order file may hold at most. A terminal order is a few hundred lines; anything far
// larger is a runaway writer or the wrong file, and is refused before it is read whole.
inline constexpr qint64 MaxOrderFileBytes = 1024 * 1024;
inline constexpr qsizetype MaxOrderRecords = 10000;

struct OrderFileContent
{
    QList<OrderRecord> records;
    QString refusal;      // not empty: the file was not taken, and why (it stays queued)
    bool changed = false; // written since it was listed, or while it was read: try again later
    QByteArray content;   // the bytes read, when taken: the import record names exactly these
};

// Reads an order file without ever blocking: only a plain file (or a link to one) is opened, and
// never waits for a writer (FIFOs, devices and sockets are refused). Files over the limits above
// and files holding a NUL byte (damaged) are refused. `listed` is the file as the queue listing
// saw it; a file that differs from it, or changes while it is read, is `changed`. An unknown
// stamp (no file) skips the comparison with the listing.
OrderFileContent ReadOrderFile(const QString &path, const FileStamp &listed = {});
