#pragma once

#include "ModalRunner.h"
#include "Module1.h"
#include "PrintProcedures.h"
#include "PrivateProfile.h"
#include "TempSuite.h"

#include <QDialog>
#include <QDir>
#include <QProcess>
#include <QStringList>
#include <gtest/gtest.h>

// A demo suite around the print windows: headless (messages go to standard error), modal windows
// recorded instead of shown, no print procedure registered.
class PrintWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        gHeadless = true;
        gProgramDir = suite.programDir();
        gSuiteRoot.clear();
        PrintProcedures::clear();
        ModalRunner::setRunner([this](QDialog &dialog) {
            shownModally << dialog.windowTitle();
            return int(QDialog::Rejected);
        });
    }

    void TearDown() override
    {
        ModalRunner::setRunner({});
        PrintProcedures::clear();
    }

    QString ini(const QString &section, const QString &key) const
    {
        return PrivateProfile::readString(section, key, QStringLiteral("<missing>"), suite.iniPath());
    }

    QStringList pdfFiles() const
    {
        return QDir(suite.programDir() + "/printout").entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Name);
    }

    // The text of each page of a PDF file, read back with pdftotext.
    static QStringList pdfPages(const QString &path)
    {
        QProcess reader;
        reader.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
        reader.waitForFinished(60000);
        QStringList pages = QString::fromUtf8(reader.readAllStandardOutput()).split(QLatin1Char('\f'));
        if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
            pages.removeLast();
        return pages;
    }

    TempSuite suite{TempSuite::Data::Demo};
    QStringList shownModally;
};
