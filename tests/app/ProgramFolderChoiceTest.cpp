// The program folder of a menu start: the remembered one while it still is a program folder,
// otherwise the operator's choice, asked again until it is one; cancelled, the program cannot run.

#include "app/ProgramFolderChoice.h"

#include "support/TempSuite.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(ProgramFolderChoice, RemembersAValidChoiceAndAsksAgainUntilThereIsOne)
{
    TempSuite suite;
    const QString good = suite.programDir();
    const QString gone = suite.root() + "/admodule/gone";
    const QString outside = suite.root();
    const struct
    {
        QString remembered;
        QStringList answers; // "" cancels
        bool stopAfterAsking;
        std::optional<QString> expected;
        QStringList startsAsked;
        QString rememberedAfter;
        QString said; // part of the message shown last
    } cases[] = {
        {good, {}, false, good, {}, good, ""},
        {"", {good}, false, good, {QDir::homePath()}, good, ""},
        {gone, {outside, good}, false, good, {gone, outside}, good, "has no \"admodule\" folder"},
        {gone, {""}, false, std::nullopt, {gone}, gone, "chosen before cannot be used any more. The folder"},
        {gone, {""}, false, std::nullopt, {gone}, gone, "cannot run without the suite's program folder"},
        {"", {""}, true, std::nullopt, {QDir::homePath()}, "", ""}, // a signal closed the chooser
    };
    for (const auto &c : cases) {
        QTemporaryDir settingsDir;
        QSettings remembered(settingsDir.filePath("rfstation.conf"), QSettings::IniFormat);
        if (!c.remembered.isEmpty())
            remembered.setValue("ProgramFolder", c.remembered);
        QStringList answers = c.answers;
        QStringList starts;
        bool stopped = false;
        ProgramFolderChoice choice(
            remembered,
            [&](const QString &start) {
                starts << start;
                stopped = c.stopAfterAsking;
                return answers.isEmpty() ? QString() : answers.takeFirst();
            },
            [&] { return stopped; });
        testing::internal::CaptureStderr();
        const std::optional<QString> chosen = choice.choose();
        const QString said = QString::fromStdString(testing::internal::GetCapturedStderr());
        const std::string label = c.remembered.toStdString() + " / " + c.answers.join(',').toStdString();
        EXPECT_EQ(chosen, c.expected) << label;
        EXPECT_EQ(starts, c.startsAsked) << label;
        EXPECT_EQ(remembered.value("ProgramFolder").toString(), c.rememberedAfter) << label;
        if (c.said.isEmpty())
            EXPECT_EQ(said, "") << label;
        else
            EXPECT_TRUE(said.contains(c.said)) << label << ": " << said.toStdString();
    }
}
