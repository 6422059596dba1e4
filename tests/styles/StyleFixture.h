#pragma once

#include "support/GoldenDisplayList.h"
#include "printui/ModalRunner.h"
#include "module1/Module1.h"
#include "pageengine/PageEngine.h"
#include "printing/PrintProcedures.h"
#include "printing/PrintSettings.h"
#include "styles/StyleRegistration.h"
#include "support/TempSuite.h"
#include "printui/fEZPrint.h"
#include "printui/mm_prtinv.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>
#include <memory>

// A demo suite with the styles registered and a request for sales orders in the standard style
// on the "PDF" printer, as the stored settings give it; headless. Widget-free: styles lay the
// request out on the fixture's engine.
class StyleTest : public ::testing::Test
{
protected:
    explicit StyleTest(TempSuite::Data data = TempSuite::Data::Demo)
        : suite(data)
    {
    }

    struct Line
    {
        QString itemno, description, itype = "nm";
        double qord = 1, qbord = 0, unit = 10;
        QString rowtext = {}, coltext = {};
    };

    void SetUp() override
    {
        PrintProcedures::clear();
        registerLayoutStyles();
        const StoredPrintSettings settings = PrintSettings::load(suite.programDir());
        request.styleCode = "REG";
        request.printer = "PDF";
        request.pickingSheetTitle = settings.pickingSheetTitle;
        request.salesOrderTitle = settings.salesOrderTitle;
        request.company = settings.company;
        request.db = settings.db;
    }

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

    // Lays out the request for orders from..to as a preview (nothing printed or marked).
    QString previewRange(const QString &from, const QString &to)
    {
        request.from = from;
        request.to = to;
        request.preview = true;
        return PrintProcedures::run(engine, request);
    }
    // Prints order `invno` in style `code` on the "PDF" printer with the clock pinned, and
    // compares the document as printed (page numbers and company block laid over) with
    // tests/styles/golden/<name>.txt. One call per style, document kind and order.
    ::testing::AssertionResult printsLikeGolden(const QString &code, bool pickingSheet, const QString &invno,
                                                const QString &name)
    {
        request.styleCode = code;
        request.pickingSheet = pickingSheet;
        request.from = request.to = invno;
        request.preview = false;
        request.clock = [] { return QDateTime(QDate(2026, 12, 10), QTime(9, 30)); };
        const QString failure = PrintProcedures::run(engine, request);
        if (!failure.isEmpty())
            return ::testing::AssertionFailure() << "not printed: " << failure.toStdString();
        return GoldenDisplayList::matches(engine.document(), "styles/golden/" + name + ".txt");
    }

    // The document laid out last.
    virtual const PageDocument &document() const { return engine.document(); }
    QStringList texts(int page) const { return document().pages.at(page).texts(); }
    int ordstatus(const QString &invno) const
    {
        return suite.scalar(QString("SELECT ordstatus FROM so WHERE invno = '%1'").arg(invno)).toInt();
    }
    QString printout() const { return suite.programDir() + "/printout/"; }
    QStringList pdfFiles() const { return QDir(printout()).entryList({"*.pdf"}, QDir::Files, QDir::Name); }

    TempSuite suite{TempSuite::Data::Demo};
    PrintRequest request;
    PageEngine engine;
};

// The same suite with the print window loaded on the "PDF" printer for sales orders; the
// preview window's modal show recorded instead of waiting.
class StyleWindowTest : public StyleTest
{
protected:
    void SetUp() override
    {
        StyleTest::SetUp();
        ModalRunner::setRunner([this](QDialog &dialog) {
            previewShown += 1;
            printButtonShown = !static_cast<fEZPrint &>(dialog).cmdPrint[0]->isHidden();
            return int(QDialog::Rejected);
        });
        form = std::make_unique<mm_prtinv>(suite.programDir());
        form->Form_Load();
        form->cmb_printers->setCurrentText("PDF");
        form->Option2[0]->setChecked(true); // sales orders
    }
    void TearDown() override { ModalRunner::setRunner({}); }

    void chooseRange(const QString &from, const QString &to)
    {
        form->txtfrom[0]->setText(from);
        form->txtfrom[1]->setText(to);
    }
    QString preview() { return form->btnPrint_Click(1); }
    QString print() { return form->btnPrint_Click(0); }
    const PageDocument &document() const override { return form->printEngine()->document(); }

    std::unique_ptr<mm_prtinv> form;
    int previewShown = 0;
    bool printButtonShown = true;
};
