#include "printui/PrintProgress.h"

#include "module1/Module1.h"
#include "pageengine/PageEngine.h"
#include "pageengine/PagePrinter.h"
#include "printing/PrintJobLog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimerEvent>
#include <QVBoxLayout>
#include <QWindow>

namespace {

bool isUserInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::Close:
        return true;
    default:
        return false;
    }
}

} // namespace

PrintProgress::PrintProgress(const PageEngine &engine)
    : QWidget(nullptr, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus | Qt::CustomizeWindowHint
                           | Qt::WindowTitleHint)
    , mPageText(engine.AbortTextPage())
    , mDeviceText(engine.AbortTextDevice())
    , mWindowPos(engine.AbortWindowPos())
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setWindowTitle(engine.AbortCaption());
    lblPage = new QLabel(this);
    lblDevice = new QLabel(this);
    const QString button = engine.AbortTextButton();
    cmdCancel = new QPushButton(button.isEmpty() ? QStringLiteral("Cancel") : button, this);
    cmdCancel->setFocusPolicy(Qt::NoFocus);
    cmdCancel->setAutoDefault(false);
    connect(cmdCancel, &QPushButton::clicked, this, [this] { mCancelled = true; });

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblPage, 0, Qt::AlignHCenter);
    layout->addWidget(lblDevice, 0, Qt::AlignHCenter);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdCancel);
    buttons->addStretch();
    layout->addLayout(buttons);
}

PrintProgress::~PrintProgress()
{
    holdOthers(false);
}

void PrintProgress::install()
{
    PageEngine::setPrintMonitorFactory([](const PageEngine &engine) -> std::unique_ptr<PrintMonitor> {
        if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
            return std::make_unique<PrintJobLog>();
        return std::make_unique<PrintProgress>(engine);
    });
}

void PrintProgress::jobStarted(const PrintJobInfo &job)
{
    mCancelled = false;
    QString device = mDeviceText;
    for (const QString &value : {job.printer, job.port}) {
        const int at = device.indexOf(QStringLiteral("%s"));
        if (at >= 0)
            device.replace(at, 2, value);
    }
    lblDevice->setText(device);
    lblPage->setText(QString(mPageText).replace(QStringLiteral("%d"), QString::number(job.firstPage)));
    holdOthers(true);
}

bool PrintProgress::nextPage(int page)
{
    lblPage->setText(QString(mPageText).replace(QStringLiteral("%d"), QString::number(page)));
    const bool showing = !isVisible();
    const QPointer<QWidget> active = QApplication::activeWindow();
    if (showing) {
        adjustSize();
        place();
        show();
    }
    // The window's own events (paint, the Cancel button); socket events wait too, so a
    // shutdown signal is seen after the job.
    QCoreApplication::processEvents(QEventLoop::ExcludeSocketNotifiers);
    // A window system that activates every new window anyway: the operator's window gets the
    // focus back.
    if (showing && active && active != this && QApplication::activeWindow() == this) {
        active->activateWindow();
        QCoreApplication::processEvents(QEventLoop::ExcludeSocketNotifiers);
    }
    return !mCancelled;
}

void PrintProgress::jobFinished(const PrintResult &)
{
    hide();
    holdOthers(false);
}

void PrintProgress::closeEvent(QCloseEvent *event)
{
    mCancelled = true;
    event->ignore();
}

void PrintProgress::place()
{
    // The screen the operator works on: that of the program's active window.
    const QWidget *active = QApplication::activeWindow();
    const QScreen *screen = active ? active->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    QRect frame(QPoint(), size());
    // AbortWindowPos 0 centres the window on the screen; any other value keeps it out of the way
    // in the lower right corner.
    if (mWindowPos == 0)
        frame.moveCenter(area.center());
    else
        frame.moveBottomRight(area.bottomRight() - QPoint(24, 24));
    move(frame.topLeft());
}

bool PrintProgress::isOwn(QObject *object) const
{
    if (auto *widget = qobject_cast<QWidget *>(object))
        return widget == this || isAncestorOf(widget);
    if (auto *window = qobject_cast<QWindow *>(object))
        return window == windowHandle();
    return false;
}

void PrintProgress::holdOthers(bool hold)
{
    if (hold == mHolding || !QCoreApplication::instance())
        return;
    mHolding = hold;
    if (hold) {
        QCoreApplication::instance()->installEventFilter(this);
        return;
    }
    QCoreApplication::instance()->removeEventFilter(this);
    for (const auto &[object, timerId] : std::as_const(mHeldTimers)) {
        if (object)
            QCoreApplication::postEvent(object, new QTimerEvent(timerId));
    }
    mHeldTimers.clear();
}

bool PrintProgress::eventFilter(QObject *watched, QEvent *event)
{
    if (isOwn(watched))
        return false;
    if (event->type() == QEvent::Timer) {
        const QPair<QPointer<QObject>, int> held(watched, static_cast<QTimerEvent *>(event)->timerId());
        if (!mHeldTimers.contains(held))
            mHeldTimers.append(held);
        return true;
    }
    return isUserInput(event->type());
}
