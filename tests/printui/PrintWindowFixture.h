#pragma once

#include "printui/ModalRunner.h"
#include "module1/Module1.h"
#include "printing/PrintProcedures.h"
#include "runtime/PrivateProfile.h"
#include "support/TempSuite.h"

#include <QDialog>
#include <QDir>
#include <gtest/gtest.h>

// A demo suite around the print windows: headless, modal windows recorded instead of shown, no
// print procedure registered.
class PrintWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        PrintProcedures::clear();
        ModalRunner::setRunner([this](QDialog &dialog) {
            shownModally << dialog.windowTitle();
            return int(QDialog::Rejected);
        });
    }
    void TearDown() override { ModalRunner::setRunner({}); }

    QString ini(const QString &section, const QString &key) const
    {
        return PrivateProfile::readString(section, key, "<missing>", suite.iniPath());
    }
    QString printout() const { return suite.programDir() + "/printout/"; }
    QStringList pdfFiles() const { return QDir(printout()).entryList({"*.pdf"}, QDir::Files, QDir::Name); }

    TempSuite suite{TempSuite::Data::Demo};
    QStringList shownModally;
};
