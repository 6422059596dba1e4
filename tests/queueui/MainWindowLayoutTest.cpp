// What an operator reads in the main window after real orders: every heading and every number
// whole, money as the printed order shows it, the window within its screen, and a "Print Qty."
// that takes whole numbers only.

#include "queueui/MainWindowFixture.h"

#include "widgets/ColumnFit.h"
#include "widgets/ModelGrid.h"
#include "widgets/SpreadGrid.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QKeyEvent>
#include <QRegularExpression>
#include <QScreen>

namespace {

class MainWindowLayout : public MainWindowTest
{
protected:
    // The sample orders of every terminal; two of them stay queued with their reasons.
    void convertDemoOrders()
    {
        const QDir samples(QStringLiteral(RFSTATION_SOURCE_DIR "/schema/demo-orders"));
        for (const QString &name : samples.entryList(QDir::Files)) {
            QFile sample(samples.filePath(name));
            ASSERT_TRUE(sample.open(QIODevice::ReadOnly)) << name.toStdString();
            suite->writeFile("admodule/OrdQueue/" + name, sample.readAll());
        }
        scanAndPass();
        ASSERT_EQ(queRows(), 2);
        ASSERT_EQ(service->done()->rowCount(), 6);
    }

    // Waits for the columns' measurement the changes asked for.
    static void fitted(const ColumnFit *fit)
    {
        while (fit->pending())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }

    // Every heading of the view fits its column, and so does every cell of the columns that are
    // not the stretching last one (its cut text is in the tool tip).
    static void expectWhole(const QTableView &view, const char *name)
    {
        const QHeaderView *header = view.horizontalHeader();
        const QAbstractItemModel *model = view.model();
        for (int col = 0; col < model->columnCount(); ++col) {
            const QString heading = model->headerData(col, Qt::Horizontal).toString();
            EXPECT_LE(header->sectionSizeHint(col), header->sectionSize(col)) << name << ": " << heading.toStdString();
            if (col == model->columnCount() - 1)
                continue;
            for (int row = 0; row < model->rowCount(); ++row) {
                const QModelIndex cell = model->index(row, col);
                EXPECT_LE(view.sizeHintForIndex(cell).width(), view.columnWidth(col))
                    << name << ": " << heading.toStdString() << " \"" << cell.data().toString().toStdString() << "\"";
            }
        }
    }
};

void type(QWidget *box, const QString &keys)
{
    for (const QChar key : keys) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(key));
        QApplication::sendEvent(box, &press);
    }
}

} // namespace

TEST_F(MainWindowLayout, ListsAndTerminalPagesShowTheirTextsWhole)
{
    convertDemoOrders();
    window->show();
    for (ModelGrid *list : {window->fQue, window->fDone}) {
        window->SSTab1->setCurrentWidget(list->parentWidget());
        fitted(list->columnFit());
        expectWhole(*list, list == window->fQue ? "queue" : "done");
    }
    EXPECT_EQ(service->done()->index(0, DoneModel::SavedOrder).data(Qt::ToolTipRole).toString(),
              "A1T1A.ord ( SO001001 )");

    // On a 1280-pixel screen a terminal page shows every column up to "Extended Price" at once.
    window->resize(1280 - 20, 700);
    const QRegularExpression money(QStringLiteral("^-?[0-9,]*\\.[0-9]{2}$"));
    for (int terminal = 1; terminal <= 5; ++terminal) {
        SpreadGrid *page = window->fGrid[terminal - 1];
        window->SSTab1->setCurrentWidget(page->parentWidget());
        fitted(page->columnFit());
        expectWhole(*page, "terminal page");
        const int extended = 11 - 1;
        EXPECT_LE(page->columnViewportPosition(extended) + page->columnWidth(extended), page->viewport()->width())
            << "terminal " << terminal;
        for (int row = 1; row <= page->maxRows(); ++row) {
            for (int col : {10, 11})
                EXPECT_TRUE(money.match(page->text(col, row)).hasMatch()) << page->text(col, row).toStdString();
            EXPECT_EQ(page->item(row - 1, 11 - 1)->textAlignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
        }
    }
    // Percentage-off prices: 11.875 shows as the printed order has it.
    EXPECT_EQ(window->fGrid[0]->text(10, 1), "11.88");
}

TEST_F(MainWindowLayout, TheWindowFitsItsScreenWhateverSizeItHad)
{
    const QRect area = window->screen()->availableGeometry();
    for (const QSize left : {QSize(), area.size() + QSize(400, 300)}) {
        if (left.isValid())
            window->resize(left);
        window->show();
        EXPECT_TRUE(area.contains(window->frameGeometry()))
            << window->frameGeometry().width() << "x" << window->frameGeometry().height();
        window->hide();
    }
}

TEST_F(MainWindowLayout, PrintQtyTakesWholeNumbersOnly)
{
    QLineEdit *box = window->txtDefQty;
    box->clear();
    type(box, "a1x2");
    EXPECT_EQ(box->text(), "12");
    EXPECT_EQ(service->defaultPrintQty(), "12");
    type(box, "3-");
    EXPECT_EQ(box->text(), "12");

    // Emptied, the box keeps the quantity in force and shows it again once left.
    box->clear();
    EXPECT_EQ(service->defaultPrintQty(), "12");
    QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(box, &leave);
    EXPECT_EQ(box->text(), "12");

    box->clear();
    type(box, "07");
    EXPECT_EQ(service->defaultPrintQty(), "7");
}
