#include "widgets/ScreenFit.h"

#include <QScreen>
#include <QStyle>
#include <QWidget>

namespace {

QMargins frameMargins(const QWidget &window)
{
    const QRect frame = window.frameGeometry();
    const QRect client = window.geometry();
    if (frame != client)
        return {client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
                frame.bottom() - client.bottom()};
    const int border = window.style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, &window);
    const int title = window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window);
    return {border, border + title, border, border};
}

} // namespace

namespace ScreenFit {

QRect clientRoom(const QWidget &window)
{
    const QScreen *screen = window.screen();
    if (!screen)
        return window.geometry();
    return screen->availableGeometry().marginsRemoved(frameMargins(window));
}

void fitToScreen(QWidget &window)
{
    const QRect room = clientRoom(window);
    QRect placed = window.geometry();
    placed.setSize(placed.size().boundedTo(room.size()).expandedTo(window.minimumSize()));
    if (!window.testAttribute(Qt::WA_Moved))
        placed.moveCenter(room.center());
    placed.moveLeft(qMax(room.left(), qMin(placed.left(), room.right() - placed.width() + 1)));
    placed.moveTop(qMax(room.top(), qMin(placed.top(), room.bottom() - placed.height() + 1)));
    window.setGeometry(placed);
}

} // namespace ScreenFit
