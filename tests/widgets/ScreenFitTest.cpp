#include "widgets/ScreenFit.h"

#include <QScreen>
#include <QWidget>
#include <gtest/gtest.h>

// Whatever size and place a window was given, it ends within the room its screen has for it,
// keeping a size that fits and its place when that is inside.
TEST(ScreenFit, WindowEndsWithinTheRoomOfItsScreen)
{
    QWidget probe;
    const QRect room = ScreenFit::clientRoom(probe);
    ASSERT_TRUE(probe.screen()->availableGeometry().contains(room));
    const struct
    {
        QRect asked;
        QRect expected;
    } cases[] = {
        {QRect(room.topLeft() + QPoint(10, 20), QSize(200, 100)),
         QRect(room.topLeft() + QPoint(10, 20), QSize(200, 100))},
        {QRect(room.topLeft(), room.size() + QSize(500, 400)), room},
        {QRect(room.right() - 50, room.bottom() - 50, 200, 100),
         QRect(room.right() - 199, room.bottom() - 99, 200, 100)},
        {QRect(room.left() - 300, room.top() - 300, 200, 100), QRect(room.topLeft(), QSize(200, 100))},
    };
    for (const auto &c : cases) {
        QWidget window;
        window.setGeometry(c.asked);
        ScreenFit::fitToScreen(window);
        EXPECT_EQ(window.geometry(), c.expected) << c.asked.x() << "," << c.asked.y();
    }
    QWidget neverPlaced;
    neverPlaced.resize(200, 100);
    ScreenFit::fitToScreen(neverPlaced);
    EXPECT_EQ(neverPlaced.geometry().center(), room.center());
}
