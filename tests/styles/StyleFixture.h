#pragma once

#include "ModalRunner.h"
#include "Module1.h"
#include "PageEngine.h"
#include "PrintProcedures.h"
#include "StyleRegistration.h"
#include "TempSuite.h"
#include "fEZPrint.h"
#include "mm_prtinv.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>
#include <memory>

// A demo suite with the print window loaded on the "PDF" printer and the styles registered;
// headless, the preview window's modal show recorded instead of waiting.
class StyleTest : public ::testing::Test
{
protected:
    struct Line
    {
        QString itemno, description, itype = "nm";
        double qord = 1, qbord = 0, unit = 10;
        QString rowtext = {}, coltext = {};
    };

    void SetUp() override
    {
        gHeadless = true;
        gProgramDir = suite.programDir();
        PrintProcedures::clear();
        registerLayoutStyles();
        ModalRunner::setRunner([this](QDialog &dialog) {
            previewShown += 1;
            printButtonShown = !static_cast<fEZPrint &>(dialog).cmdPrint[0]->isHidden();
            return int(QDialog::Rejected);
        });
        form = std::make_unique<mm_prtinv>();
        form->Form_Load();
        form->cmb_printers->setCurrentText("PDF");
        form->Option2[0]->setChecked(true); // sales orders
    }
    void TearDown() override { ModalRunner::setRunner({}); }

    // A new order of `custNo` with its lines; the amounts follow from the lines.
    void addOrder(const QString &invno, const QString &custNo, const QList<Line> &lines)
    {
        double amount = 0;
        for (int n = 1; n <= lines.size(); ++n) {
            const Line &l = lines[n - 1];
            amount += l.qord * l.unit;
            suite.exec(QString("INSERT INTO sodetail (autonum, invno, linenum, itemno, Description, itype, rowtext, "
                               "coltext, qord, qbord, unit, extended) VALUES ('%1%2', '%1', %2, '%3', '%4', '%5', '%6', "
                               "'%7', %8, %9, %10, %11);")
                           .arg(invno).arg(n, 4, 10, QChar('0'))
                           .arg(l.itemno, l.description, l.itype, l.rowtext, l.coltext)
                           .arg(l.qord).arg(l.qbord).arg(l.unit).arg(l.qord * l.unit));
        }
        suite.exec(QString("INSERT INTO so (invno, CustNo, invdate, orddate, amount, freight, dc, total, ordtype, "
                           "ordstatus, custpo, terms, salesman, shipvia, fob, remark, sadressname) VALUES ('%1', '%2', "
                           "'2026-12-04', '2026-12-09', %3, 12.5, 5, %4, 0, 0, 'PO-77', 'NET30', 'S01', 'GROUND', "
                           "'ORIGIN', 'Leave at the back door', ' Same As Bill To');")
                       .arg(invno, custNo).arg(amount).arg(amount + 12.5 - 5));
    }
    static QList<Line> plainLines(int count)
    {
        QList<Line> lines;
        for (int i = 1; i <= count; ++i)
            lines << Line{QString("ITEM%1").arg(i, 3, 10, QChar('0')), QString("Article %1").arg(i), "nm", double(i), 0, 2.5};
        return lines;
    }
    void chooseRange(const QString &from, const QString &to)
    {
        form->txtfrom[0]->setText(from);
        form->txtfrom[1]->setText(to);
    }
    QString preview() { return form->btnPrint_Click(1); }
    QString print() { return form->btnPrint_Click(0); }

    const PageDocument &previewed() { return form->printEngine()->document(); }
    QStringList texts(int page) { return previewed().pages.at(page).texts(); }
    // Text items of a page reading exactly `text`.
    QList<PageItem> itemsReading(int page, const QString &text)
    {
        QList<PageItem> found;
        for (const PageItem &item : previewed().pages.at(page).items) {
            if (item.kind == PageItem::Kind::Text && item.text == text)
                found << item;
        }
        return found;
    }
    int ordstatus(const QString &invno) const
    {
        return suite.scalar(QString("SELECT ordstatus FROM so WHERE invno = '%1'").arg(invno)).toInt();
    }
    QString printout() const { return suite.programDir() + "/printout/"; }
    QStringList pdfFiles() const { return QDir(printout()).entryList({"*.pdf"}, QDir::Files, QDir::Name); }
    // The text of each page of a printed file, read back with pdftotext.
    QStringList pdfPages(const QString &file) const
    {
        QProcess reader;
        reader.start("pdftotext", {"-layout", printout() + file, "-"});
        reader.waitForFinished(60000);
        QStringList pages = QString::fromUtf8(reader.readAllStandardOutput()).split('\f');
        pages.removeLast(); // after the last page's form feed
        return pages;
    }

    TempSuite suite{TempSuite::Data::Demo};
    std::unique_ptr<mm_prtinv> form;
    int previewShown = 0;
    bool printButtonShown = true;
};
