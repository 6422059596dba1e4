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
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>
#include <memory>

// A demo suite with the print window loaded on the "PDF" printer, the layout styles registered,
// headless, and the preview window's modal show recorded instead of waiting.
class StyleTest : public ::testing::Test
{
protected:
    struct Line
    {
        QString itemno;
        QString description;
        QString itype = QStringLiteral("nm");
        double qord = 1;
        double qbord = 0;
        double unit = 10;
        QString rowtext;
        QString coltext;
    };

    void SetUp() override
    {
        gHeadless = true;
        gProgramDir = suite.programDir();
        gSuiteRoot.clear();
        PrintProcedures::clear();
        registerLayoutStyles();
        ModalRunner::setRunner([this](QDialog &dialog) {
            previewShown += 1;
            if (auto *preview = qobject_cast<fEZPrint *>(&dialog))
                printButtonShown = !preview->cmdPrint[0]->isHidden();
            return int(QDialog::Rejected);
        });
        form = std::make_unique<mm_prtinv>();
        form->Form_Load();
        form->cmb_printers->setCurrentText(QStringLiteral("PDF"));
    }

    void TearDown() override
    {
        form.reset();
        ModalRunner::setRunner({});
        PrintProcedures::clear();
    }

    // An order of customer `custNo` with its lines; the amounts follow from the lines.
    void addOrder(const QString &invno, const QString &custNo, const QList<Line> &lines,
                  const QString &extraColumns = {}, const QString &extraValues = {})
    {
        double amount = 0;
        int number = 0;
        for (const Line &line : lines) {
            ++number;
            const double extended = line.qord * line.unit;
            amount += extended;
            suite.exec(QStringLiteral("INSERT INTO sodetail (autonum, invno, linenum, itemno, Description, itype, rowtext, "
                                      "coltext, qord, qbord, unit, extended) VALUES ('%1%2', '%1', %3, '%4', '%5', '%6', "
                                      "'%7', '%8', %9, %10, %11, %12);")
                           .arg(invno, QStringLiteral("%1").arg(number, 4, 10, QLatin1Char('0')))
                           .arg(number)
                           .arg(line.itemno, line.description, line.itype, line.rowtext, line.coltext)
                           .arg(line.qord)
                           .arg(line.qbord)
                           .arg(line.unit)
                           .arg(extended));
        }
        suite.exec(QStringLiteral("INSERT INTO so (invno, CustNo, invdate, orddate, amount, freight, dc, total, ordtype, "
                                  "ordstatus, custpo, terms, salesman, shipvia, fob, remark, sadressname%3) VALUES "
                                  "('%1', '%2', '2026-12-04', '2026-12-09', %4, 12.5, 5, %5, 0, 0, 'PO-77', 'NET30', 'S01', "
                                  "'GROUND', 'ORIGIN', 'Leave at the back door', ' Same As Bill To'%6);")
                       .arg(invno, custNo, extraColumns)
                       .arg(amount)
                       .arg(amount + 12.5 - 5)
                       .arg(extraValues));
    }

    static QList<Line> plainLines(int count)
    {
        QList<Line> lines;
        for (int i = 1; i <= count; ++i)
            lines << Line{QStringLiteral("ITEM%1").arg(i, 3, 10, QLatin1Char('0')), QStringLiteral("Article %1").arg(i),
                          QStringLiteral("nm"), double(i), 0, 2.5, QString(), QString()};
        return lines;
    }

    void chooseSalesOrders() { form->Option2[0]->setChecked(true); }
    void choosePickingSheets() { form->Option2[1]->setChecked(true); }
    void chooseRange(const QString &from, const QString &to)
    {
        form->Option1[1]->setChecked(true);
        form->txtfrom[0]->setText(from);
        form->txtfrom[1]->setText(to);
    }

    QString preview() { return form->btnPrint_Click(1); }
    QString print() { return form->btnPrint_Click(0); }

    const PageDocument &previewed() { return form->preview().vsPrinter.document(); }
    QStringList texts(int page) { return previewed().pages.at(page).texts(); }
    // Text items of a page that read exactly `text`.
    QList<PageItem> itemsReading(int page, const QString &text)
    {
        QList<PageItem> found;
        for (const PageItem &item : previewed().pages.at(page).items) {
            if (item.kind == PageItem::Kind::Text && item.text == text)
                found << item;
        }
        return found;
    }
    bool hasRule(int page, double x1, double y1, double x2, double y2)
    {
        for (const PageItem &item : previewed().pages.at(page).items) {
            if (item.kind == PageItem::Kind::Rule && qAbs(item.x - x1) < 1 && qAbs(item.y - y1) < 1
                && qAbs(item.x2 - x2) < 1 && qAbs(item.y2 - y2) < 1)
                return true;
        }
        return false;
    }

    int ordstatus(const QString &invno) const
    {
        return suite.scalar(QStringLiteral("SELECT ordstatus FROM so WHERE invno = '%1'").arg(invno)).toInt();
    }

    QStringList pdfFiles() const
    {
        return QDir(suite.programDir() + "/printout").entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Name);
    }

    // The text of each page of a printed file, read back with pdftotext.
    QStringList pdfPages(const QString &file) const
    {
        QProcess reader;
        reader.start(QStringLiteral("pdftotext"),
                     {QStringLiteral("-layout"), suite.programDir() + "/printout/" + file, QStringLiteral("-")});
        reader.waitForFinished(60000);
        QStringList pages = QString::fromUtf8(reader.readAllStandardOutput()).split(QLatin1Char('\f'));
        if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
            pages.removeLast();
        return pages;
    }

    TempSuite suite{TempSuite::Data::Demo};
    std::unique_ptr<mm_prtinv> form;
    int previewShown = 0;
    bool printButtonShown = true;
};
