#include "widgets/AutoCapitalize.h"

#include <QLineEdit>
#include <gtest/gtest.h>

TEST(AutoCapitalize, Modes)
{
    QLineEdit box;
    box.setText("abc def");
    box.setCursorPosition(3);
    AutoCapitalize(&box, 1);
    EXPECT_EQ(box.text(), "ABC DEF");
    EXPECT_EQ(box.cursorPosition(), 3);

    box.setText("abc d");
    box.setCursorPosition(5); // just typed the "d" after a blank
    AutoCapitalize(&box, 2);
    EXPECT_EQ(box.text(), "abc D");
    box.setText("x");
    box.setCursorPosition(1);
    AutoCapitalize(&box, 2);
    EXPECT_EQ(box.text(), "X");
    box.setText("ab");
    box.setCursorPosition(2);
    AutoCapitalize(&box, 2);
    EXPECT_EQ(box.text(), "ab");

    box.setText("q");
    AutoCapitalize(&box, 3);
    EXPECT_EQ(box.text(), "Q");
    EXPECT_EQ(box.cursorPosition(), 1);
    box.setText("qq");
    box.setCursorPosition(1);
    AutoCapitalize(&box, 3);
    EXPECT_EQ(box.text(), "qq");
    EXPECT_EQ(box.cursorPosition(), 1);
}
