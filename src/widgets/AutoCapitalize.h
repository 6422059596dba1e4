#pragma once

class QLineEdit;

// Upper-cases what is typed into `box`, called from its change handling: mode 1 all of it,
// mode 2 word starts, mode 3 a one-character text. The cursor stays where it was.
void AutoCapitalize(QLineEdit *box, int mode);
