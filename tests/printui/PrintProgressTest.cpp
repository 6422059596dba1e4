#include "pageengine/PageEngine.h"
#include "printui/PrintProgress.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

void click(QWidget *widget)
{
    const QPointF at = QRectF(widget->rect()).center();
    const QPointF global = widget->mapToGlobal(at);
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, at, global, Qt::LeftButton, type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(widget, &event);
    }
}

void type(QWidget *widget, const QString &text)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &press);
}

} // namespace

TEST(PrintProgress, ShowsThePagesLeavesTheOperatorsWorkAloneAndCancels)
{
    // The operator types in another window; a timer of the program runs.
    QLineEdit work;
    work.show();
    QApplication::setActiveWindow(&work);
    work.setFocus();
    ASSERT_EQ(QApplication::focusWidget(), &work);
    int ticks = 0;
    QTimer timer;
    timer.setInterval(0);
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start();

    PageEngine engine;
    engine.setAbortTextPage("Now printing page %d");
    engine.setAbortTextDevice("on the %s on %s");
    engine.setAbortWindowPos(1);
    PrintProgress progress(engine);
    progress.jobStarted({"SO001001", "Office", "ipp://server/printers/office", 1, 3});
    EXPECT_TRUE(progress.nextPage(1));
    EXPECT_TRUE(progress.nextPage(2));
    EXPECT_TRUE(progress.isVisible());
    EXPECT_EQ(progress.lblPage->text(), "Now printing page 2");
    EXPECT_EQ(progress.lblDevice->text(), "on the Office on ipp://server/printers/office");
    EXPECT_EQ(QApplication::focusWidget(), &work);

    // While the job prints, other windows take no input and timers wait.
    type(&work, "x");
    EXPECT_EQ(work.text(), "");
    EXPECT_EQ(ticks, 0);
    click(progress.cmdCancel);
    EXPECT_FALSE(progress.nextPage(3));
    PrintResult cancelled;
    cancelled.cancelled = true;
    progress.jobFinished(cancelled);
    EXPECT_FALSE(progress.isVisible());

    // Afterwards all goes on as before; the timer's tick that fell due is delivered.
    type(&work, "y");
    EXPECT_EQ(work.text(), "y");
    QCoreApplication::processEvents();
    EXPECT_GE(ticks, 1);
    EXPECT_EQ(QApplication::focusWidget(), &work);
}
