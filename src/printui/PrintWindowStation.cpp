#include "printui/PrintWindowStation.h"

#include "printui/mm_prtinv.h"

PrintWindowStation::~PrintWindowStation()
{
    closeWindow();
}

mm_prtinv *PrintWindowStation::window() const
{
    return mWindow && !mWindow->isUnloaded() ? mWindow.data() : nullptr;
}

mm_prtinv &PrintWindowStation::load()
{
    if (mm_prtinv *loaded = window())
        return *loaded;
    auto *form = new mm_prtinv(mProgramDir, mOwner);
    try {
        form->Form_Load();
    } catch (...) {
        delete form;
        throw;
    }
    mWindow = form;
    return *form;
}

void PrintWindowStation::showAfresh(QWidget *owner)
{
    closeWindow();
    mOwner = owner;
    mm_prtinv &form = load();
    form.show();
    form.raise();
}

void PrintWindowStation::closeWindow()
{
    if (mm_prtinv *loaded = window())
        loaded->unload();
}

void PrintWindowStation::setRange(const QString &from, const QString &to)
{
    mRange = std::make_pair(from, to);
}

QString PrintWindowStation::Print_So(int iPreview, const QString &argFrom, const QString &argTo)
{
    try {
        mm_prtinv &form = load();
        if (argFrom.isEmpty() && argTo.isEmpty() && mRange)
            return form.Print_So(iPreview, mRange->first, mRange->second);
        return form.Print_So(iPreview, argFrom, argTo);
    } catch (const std::exception &e) {
        return QString::fromLocal8Bit(e.what());
    }
}
