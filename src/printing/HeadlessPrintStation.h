#pragma once

#include "printing/PrintSettings.h"
#include "module1/PrintStation.h"

#include <optional>

// The print station of a headless run: what the print window would print for the queue service,
// without any window. It loads the settings the window would load (PrintSettings::load), keeps
// them as the window keeps its controls, builds each request from them (the stored document
// kind, printer and titles; the full picking sheet; the order numbers handed in) and lays it out
// on an engine of its own. No widget is created, so an unattended station never builds dialogs.
class HeadlessPrintStation final : public PrintStation
{
public:
    explicit HeadlessPrintStation(const QString &programDir) : mProgramDir(programDir) {}
    ~HeadlessPrintStation() override;

    // Loads the settings afresh (writing back the old ones first, as a closing window would).
    // Throws DbError when they cannot be loaded (the database cannot be opened).
    void showAfresh(QWidget *owner) override;
    // Writes the settings back, as the print window does when it closes, and forgets them.
    void closeWindow() override;
    void setRange(const QString &from, const QString &to) override;
    // A preview is laid out but cannot be shown: it is logged as a modal window nobody closes.
    QString Print_So(int iPreview, const QString &argFrom, const QString &argTo) override;

private:
    // Loads the settings when needed; throws DbError when it cannot.
    const StoredPrintSettings &load();

    QString mProgramDir;
    std::optional<StoredPrintSettings> mSettings;
    QString mFrom;
    QString mTo;
};
