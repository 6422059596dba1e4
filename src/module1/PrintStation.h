#pragma once

#include <QString>

class QWidget;

// What the queue service needs of the print window. The print window lives in a layer above
// the queue service, so the program wires an implementation in at start-up.
class PrintStation
{
public:
    virtual ~PrintStation() = default;

    // Unloads the print window if it is loaded and shows it again, modeless, owned by `owner`.
    virtual void showAfresh(QWidget *owner) = 0;
    // Closes the print window for good (the program ends).
    virtual void closeWindow() = 0;
    // Keeps the order numbers for the next Print_So that names none (the operator's own range
    // fields are left as they are).
    virtual void setRange(const QString &from, const QString &to) = 0;
    // The print window's request without user interaction (iPreview 0 prints). Returns "" when
    // the documents reached the printer, otherwise the reason they did not.
    virtual QString Print_So(int iPreview, const QString &argFrom, const QString &argTo) = 0;
};
