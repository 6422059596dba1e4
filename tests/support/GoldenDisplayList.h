#pragma once

#include "pageengine/PageDocument.h"

#include <QString>
#include <gtest/gtest.h>

// Golden display lists: a laid-out document written as stable text and compared with a file
// checked in under tests/, so that a deliberate layout change shows up as a reviewed diff.
//
// The text has one line per page ("page 1 12240x15840") and one per item, in the order the
// engine holds them, every length in whole twips:
//   text x,top w=width base=baseline "font" size [bold] [wrapped] "text"
//   rule x1,y1 x2,y2 pen=width style=solid|dash|dot|dash-dot|dash-dot-dot
//   box  x,y widthxheight left|centre|right pad=padding line=lineHeight "font" size [bold] "text"
// "wrapped" marks a run the engine broke out of a line too wide for its room (PageItem::wrapped).
// Texts are quoted with \" \\ \n \r \t escaped. Fonts are the names the layouts give; their
// widths come from the Liberation fonts, so the files hold on every machine with fonts-liberation.
// A document that prints the date or time must be laid out with a pinned clock.
namespace GoldenDisplayList {

QString text(const PageDocument &document);

// Compares the document with the golden file tests/<relativePath>. With the environment
// variable RFSTATION_UPDATE_GOLDEN=1 the file is (re)written instead and the check passes.
// On a difference the message names the first differing line, and the whole text is written
// to <build>/golden-actual/<relativePath> for a diff.
::testing::AssertionResult matches(const PageDocument &document, const QString &relativePath);

} // namespace GoldenDisplayList
