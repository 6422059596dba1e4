#include "widgets/AutoCapitalize.h"

#include <QLineEdit>

void AutoCapitalize(QLineEdit *box, int mode)
{
    if (!box)
        return;
    const int cursor = box->cursorPosition();
    QString text = box->text();
    switch (mode) {
    case 1:
        box->setText(text.toUpper());
        box->setCursorPosition(cursor);
        break;
    case 2:
        if (cursor >= 2 && text.at(cursor - 2) == ' ')
            text[cursor - 1] = text.at(cursor - 1).toUpper();
        else if (cursor == 1)
            text[0] = text.at(0).toUpper();
        box->setText(text);
        box->setCursorPosition(cursor);
        break;
    case 3:
        if (text.size() == 1) {
            box->setText(text.toUpper());
            box->setCursorPosition(1);
        } else {
            box->setCursorPosition(cursor);
        }
        break;
    default:
        break;
    }
}
