#pragma once

#include "pageengine/PagePrinter.h"

class QPrinter;

// What the system's printer dialog set up, as the page engine prints with it: the queue or the
// file, the printable area's corner (twips) and the job options (paper, copies, duplex and the
// dialog's other CUPS choices).
PrinterSetup PrinterSetupOf(const QPrinter &printer);
