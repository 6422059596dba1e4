#include <QApplication>
#include <gtest/gtest.h>

// Every test executable runs with a QApplication: record sets, grids, windows and the page
// engine all need one. Without a display the offscreen platform is used.
int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
