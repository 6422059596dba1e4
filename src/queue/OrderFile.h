#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// A terminal order file: records of item number, TAB, quantity.
//  - a record ends at a line end (CR, LF or CR LF) or at a comma, so "ABC\t1,5" is two records;
//  - a record that starts with a double quote runs to the next double quote (commas and line ends
//    included); the quotes are not part of it and the rest up to the next separator is dropped;
//  - the item number is the text before the first TAB, the quantity the text after it, taken as a
//    number when the whole of it reads as one and 0 otherwise; no TAB means quantity 0.
// The files are single-byte text.
struct OrderRecord
{
    QString itemNo;
    double quantity = 0.0;

    bool operator==(const OrderRecord &) const = default;
};

QList<OrderRecord> ParseOrderRecords(const QByteArray &content);

// The file's bytes; throws std::runtime_error with the reason when it cannot be read.
QByteArray ReadOrderFileContent(const QString &path);
// Reads and parses the file; throws std::runtime_error with the reason when it cannot be read.
QList<OrderRecord> ReadOrderFile(const QString &path);
