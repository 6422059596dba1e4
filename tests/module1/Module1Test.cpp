#include "module1/Module1.h"
#include "module1/QtMessageLog.h"

#include "runtime/Currency.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <limits>

TEST(Module1, DoubleQuotesDoublesEverySingleQuote)
{
    QString name = "O'Brien's";
    DoubleQuotes(name);
    EXPECT_EQ(name, "O''Brien''s");
    QString plain = "Smith";
    DoubleQuotes(plain);
    EXPECT_EQ(plain, "Smith");
}

TEST(Module1, LoadResMessagePutsTheArgumentAtTheFirstPercent)
{
    EXPECT_EQ(LoadResMessage(3000, "1005"), "No sales order to print for order number 1005. Check the order numbers "
                                            "(or that new orders exist) and try again.");
    EXPECT_EQ(LoadResMessage(5000, "SO%1"), "At most 100 sales orders print in one run. The run stops before order "
                                            "SO%1; print the remaining orders in another run.");
    EXPECT_EQ(LoadResMessage(1234, "x"), "");
}

TEST(Module1, ValueOrZeroReadsNumbersAndNumericTextOnly)
{
    const struct { QVariant in; double out; } cases[] = {
        {QVariant(), 0},
        {QVariant(QMetaType(QMetaType::QString)), 0},
        {QString(""), 0},
        {QString("abc"), 0},
        {QString("  12 "), 12},
        {QString("1,234.50"), 1234.5},
        {QString("-3.5"), -3.5},
        {QString("12abc"), 0},
        {42, 42},
        {qlonglong(7), 7},
        {2.25, 2.25},
        {QVariant::fromValue(Currency::fromDouble(8.25)), 8.25},
    };
    for (const auto &c : cases)
        EXPECT_DOUBLE_EQ(ValueOrZero(c.in), c.out) << c.in.toString().toStdString();
    EXPECT_EQ(NullToEmpty(QVariant()), "");
    EXPECT_EQ(NullToEmpty(QString("NET30")), "NET30");
    EXPECT_EQ(NullToEmpty(8.5), "8.5");
}

TEST(Module1, FormatAmountHasTwoDecimalsAndNoLeadingZeroAndNeverThrows)
{
    EXPECT_EQ(FormatAmount(0.5), ".50");
    EXPECT_EQ(FormatAmount(-1234.5), "-1,234.50");
    EXPECT_EQ(FormatAmount(std::numeric_limits<double>::infinity()), "");
}

TEST(Module1, ReadIniValueCutsAt254Characters)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath("x.ini");
    QFile f(ini);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[Access]\r\nDBName=" + QByteArray(300, 'a') + "\r\n");
    f.close();
    EXPECT_EQ(ReadIniValue("access", "dbname", ini).size(), 254);
    EXPECT_EQ(ReadIniValue("Access", "Missing", ini), "");
    EXPECT_EQ(ReadIniValue("Access", "DBName", dir.filePath("none.ini")), "");
}

TEST(Module1, SuiteRootIsThePathBeforeTheFirstAdmoduleFolderInAnyCase)
{
    EXPECT_EQ(SuiteRootOf("c:\\suite\\AdModule\\bin").value_or("?"), "c:\\suite");
    EXPECT_EQ(SuiteRootOf("/srv/Acme Suite/ADMODULE").value_or("?"), "/srv/Acme Suite");
    EXPECT_EQ(SuiteRootOf("/a/admodule/b/admodule").value_or("?"), "/a");
    EXPECT_FALSE(SuiteRootOf("/srv/suite/bin").has_value());
    // A whole folder name only: "admodules_x" and "my-admodule" are other folders.
    EXPECT_FALSE(SuiteRootOf("/data/admodules_x/station").has_value());
    EXPECT_EQ(SuiteRootOf("/data/admodules_x/my-admodule/AdModule/bin").value_or("?"), "/data/admodules_x/my-admodule");
    EXPECT_EQ(SuiteRootOf("/admodule/bin").value_or("?"), "/");
}

TEST(Module1, ChildPathFindsFoldersInAnyCase)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("ORDQUEUE");
    EXPECT_EQ(ChildPath(dir.path(), "OrdQueue"), dir.filePath("ORDQUEUE"));
    EXPECT_EQ(ChildPath(dir.path(), "ordsaved"), dir.filePath("ordsaved"));
}

TEST(Module1, QtMessagesBecomeOneMaskedLogLineEach)
{
    InstallQtMessageLog();
    testing::internal::CaptureStderr();
    qWarning("QODBCResult::exec: Unable to execute statement: \"DSN=tl;UID=sa;PWD=s3cret;\"\nsecond line");
    qDebug("left out");
    const QString log = QString::fromStdString(testing::internal::GetCapturedStderr());
    qInstallMessageHandler(nullptr);
    EXPECT_EQ(log.count('\n'), 1) << log.toStdString();
    EXPECT_TRUE(log.contains("Unable to execute statement")) << log.toStdString();
    EXPECT_FALSE(log.contains("s3cret")) << log.toStdString();
    EXPECT_FALSE(log.contains("left out"));
}
