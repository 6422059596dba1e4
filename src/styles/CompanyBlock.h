#pragma once

#include "printing/PrintSettings.h"

#include <QString>
#include <QStringList>

class PageEngine;

// The seller's block that the page headers carry at the top left, from the company details the
// print station read from companyinfo.
namespace CompanyBlock {

// The block's lines under the name, empty ones left out: address1, address2, "Tel: ..." and
// "Fax: ...".
QStringList addressLines(const CompanyDetails &company);

// Writes the block from the engine's current position with its current alignment: the name in
// bold at nameSize points, then `lines` not bold at lineSize points at single line spacing; line
// spacing 100 and not bold afterwards. A line wider than `room` twips is written in a smaller
// size (down to 8 points), so the block keeps clear of what stands beside it. An empty name
// still takes its line.
void write(PageEngine &vs, const QString &name, const QStringList &lines, double nameSize, double lineSize,
           double room);

} // namespace CompanyBlock
