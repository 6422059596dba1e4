#pragma once

#include "module1/PrintStation.h"

#include <QPointer>
#include <optional>
#include <utility>

class mm_prtinv;

// The print window as the queue service drives it: one window at a time, loaded on first use and
// again after it was unloaded. The queue service's prints are requests of their own, built from
// what the window shows (document kind, sheet kind, printer, titles) with the order numbers
// handed in: the range fields stay as the operator typed them.
class PrintWindowStation final : public PrintStation
{
public:
    explicit PrintWindowStation(const QString &programDir) : mProgramDir(programDir) {}
    ~PrintWindowStation() override;

    // Throws DbError when the window cannot load (its database cannot be opened).
    void showAfresh(QWidget *owner) override;
    void closeWindow() override;
    // Keeps the order numbers for the next Print_So that names none; the window is not touched.
    void setRange(const QString &from, const QString &to) override;
    QString Print_So(int iPreview, const QString &argFrom, const QString &argTo) override;

    // The loaded window, or null.
    mm_prtinv *window() const;

private:
    // Loads the window when needed; throws DbError when it cannot.
    mm_prtinv &load();

    QString mProgramDir;
    QPointer<QWidget> mOwner;
    QPointer<mm_prtinv> mWindow;
    // The numbers of the last setRange; none before the first.
    std::optional<std::pair<QString, QString>> mRange;
};
