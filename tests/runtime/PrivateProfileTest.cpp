#include "runtime/PrivateProfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class PrivateProfileTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("settings.ini"));

    void put(const QByteArray &bytes)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    // Byte strings, so that failures print readably.
    std::string bytes() const
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : "<missing>";
    }
    std::string read(const char *section, const char *key, int buffer = 255, const char *fallback = "dflt") const
    {
        return PrivateProfile::readString(QString::fromLatin1(section), QString::fromLatin1(key),
                                          QString::fromLatin1(fallback), path, buffer)
            .toLatin1()
            .toStdString();
    }
    bool write(const QString &section, const QString &key, const QString &value, QString *error = nullptr)
    {
        return PrivateProfile::writeString(section, key, value, path, error);
    }
};

const QByteArray sample = "; settings of the suite\n"
                          "[Access]\n"
                          "DBName = /suite/data.db  \n"
                          "DBType=1\n"
                          "Quoted = \"  spaced  \"\n"
                          "Single='x'\n"
                          "Mismatch=\"abc'\n"
                          "OneQuote=\"\n"
                          "Empty=\n"
                          "Eq=a=b=c\n"
                          "  Indented  =  yes  \n"
                          ";Commented=no\n"
                          "NoEquals\n"
                          "[access]\n"
                          "DBType=2\n"
                          "Extra=dup\n"
                          "[ Other Section ]\n"
                          "DBType=3\n"
                          "Key=value ; not a comment\n"
                          "[Tabbed]\t\n"
                          "\tTab\t=\tt\t\n"
                          "[Unclosed  \t\n"
                          "Key=open\n";

struct ReadCase
{
    const char *section;
    const char *key;
    const char *expected;
};

TEST_F(PrivateProfileTest, ReadsWithTheSystemRulesInLfAndCrlfFiles)
{
    const ReadCase cases[] = {
        {"Access", "DBName", "/suite/data.db"},
        {"ACCESS", "dbname", "/suite/data.db"},
        {"  Access ", " DBName ", "/suite/data.db"},
        {"Access", "DBType", "1"},   // the first of two same-named sections wins
        {"Access", "Extra", "dflt"}, // the second is never looked at
        {"Access", "Quoted", "  spaced  "},
        {"Access", "Single", "x"},
        {"Access", "Mismatch", "\"abc'"},
        {"Access", "OneQuote", "\""},
        {"Access", "Empty", ""},
        {"Access", "Eq", "a=b=c"},
        {"Access", "Indented", "yes"},
        {"Access", ";Commented", "dflt"},
        {"Access", "Commented", "dflt"},
        {"Access", "NoEquals", "dflt"},
        {"Access", "Missing", "dflt"},
        {"Nowhere", "DBType", "dflt"},
        {"other section", "DBTYPE", "3"},
        {"Other Section", "Key", "value ; not a comment"},
        {"Tabbed", "Tab", "t"},
        {"Tabbed", "Key", "dflt"},
        {"unclosed", "key", "open"}, // a header without "]" runs to the end of its line
    };
    for (const char *ending : {"\n", "\r\n", "\r"}) {
        put(QByteArray(sample).replace("\n", ending));
        for (const ReadCase &c : cases)
            EXPECT_EQ(read(c.section, c.key), c.expected) << c.section << "/" << c.key << " with line end "
                                                          << (ending[0] == '\n' ? "LF" : ending[1] ? "CRLF" : "CR");
    }
}

TEST_F(PrivateProfileTest, BufferOfNGivesAtMostNMinusOneCharacters)
{
    const QByteArray x300(300, 'x');
    put("[S]\nLong=" + x300 + "\nQuotedLong=\"" + x300 + "\"\nExact=" + QByteArray(254, 'y')
        + "\nShort=abcdef\n");
    EXPECT_EQ(read("S", "Long"), std::string(254, 'x'));
    EXPECT_EQ(read("S", "QuotedLong"), std::string(254, 'x'));
    EXPECT_EQ(read("S", "Exact"), std::string(254, 'y'));
    EXPECT_EQ(read("S", "Long", 1000), std::string(300, 'x'));
    EXPECT_EQ(read("S", "Short", 4), "abc");
    EXPECT_EQ(read("S", "Short", 1), "");
    EXPECT_EQ(read("S", "Short", 0), "");
    EXPECT_EQ(read("S", "Missing", 4, "default"), "def");
}

TEST_F(PrivateProfileTest, MissingFileGivesTheDefaultWithoutTrailingBlanks)
{
    EXPECT_EQ(read("S", "K", 255, ""), "");
    EXPECT_EQ(read("S", "K", 255, "  d  "), "  d");
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(PrivateProfileTest, BytesAreLatin1BothWays)
{
    put("[\xc9T\xc9]\nNom=caf\xe9\nOther=\xff\x80\n");
    EXPECT_EQ(read("\xe9t\xe9", "nom"), "caf\xe9"); // section in other case
    ASSERT_TRUE(write(QStringLiteral("\u00e9t\u00e9"), QStringLiteral("Nom"), QStringLiteral("cr\u00e8me")));
    EXPECT_EQ(bytes(), "[\xc9T\xc9]\nNom=cr\xe8me\nOther=\xff\x80\n");
}

TEST_F(PrivateProfileTest, ByteOrderMarkDoesNotHideTheFirstSection)
{
    put("\xEF\xBB\xBF[Access]\r\nDBType=1\r\n");
    EXPECT_EQ(read("Access", "DBType"), "1");
    ASSERT_TRUE(write(QStringLiteral("Access"), QStringLiteral("DBName"), QStringLiteral("x")));
    EXPECT_EQ(bytes(), "\xEF\xBB\xBF[Access]\r\nDBType=1\r\nDBName=x\r\n");
}

struct WriteCase
{
    const char *name;
    QByteArray before;
    const char *section;
    const char *key;
    const char *value;
    QByteArray after;
};

TEST_F(PrivateProfileTest, WritesChangeOnlyTheOneLine)
{
    const WriteCase cases[] = {
        {"replace keeps comments and spelling", "; top\n[Access]\nDBName=old\n; note\nDBType=1\n", "access",
         "dbname", "new", "; top\n[Access]\nDBName=new\n; note\nDBType=1\n"},
        {"replace an indented line", "[A]\n  Key  =  old  \nz=1\n", "A", "key", "v", "[A]\nKey=v\nz=1\n"},
        {"append in a middle section", "[A]\nx=1\n\n[B]\ny=2\n", "A", "z", "3", "[A]\nx=1\nz=3\n\n[B]\ny=2\n"},
        {"append after the section's comment", "[A]\nx=1\n; end of A\n\n\n[B]\n", "a", "z", "3",
         "[A]\nx=1\n; end of A\nz=3\n\n\n[B]\n"},
        {"append to a header-only section", "[A]\n[B]\n", "A", "k", "v", "[A]\nk=v\n[B]\n"},
        {"append to a last line without newline", "[A]\nx=1", "A", "y", "2", "[A]\nx=1\ny=2\n"},
        {"replace a last line without newline", "[A]\r\nx=1", "A", "x", "2", "[A]\r\nx=2\r\n"},
        {"replace before a last line without newline", "[A]\nx=1\n[B]\ny=2", "A", "x", "9",
         "[A]\nx=9\n[B]\ny=2\n"},
        {"new section at the end", "[A]\nx=1\n\n", "B", "k", "v", "[A]\nx=1\n\n[B]\nk=v\n"},
        {"new section after a line without newline", "[A]\nx=1", "B", "k", "v", "[A]\nx=1\n[B]\nk=v\n"},
        {"empty file", "", "App", "key", "", "[App]\r\nkey=\r\n"},
        {"file without any line end", "[A]", "A", "k", "v", "[A]\r\nk=v\r\n"},
        {"comment without line end", "; x", "A", "k", "v", "; x\r\n[A]\r\nk=v\r\n"},
        {"header without ] appends", "[A  \nx=1\n[B]\n", "a", "y", "2", "[A  \nx=1\ny=2\n[B]\n"},
        {"header without ] replaces", "[A\r\nx=1\r\n", "A", "x", "9", "[A\r\nx=9\r\n"},
        {"CR line ends", "[A]\rx=1\r", "A", "z", "3", "[A]\rx=1\rz=3\r"},
        {"first of duplicate sections", "[A]\nx=1\n[a]\ny=2\n", "A", "y", "5", "[A]\nx=1\ny=5\n[a]\ny=2\n"},
        {"value holding =", "[A]\n", "A", "k", "a=b", "[A]\nk=a=b\n"},
        {"names are trimmed", "[A]\n", " A ", " k ", "v", "[A]\nk=v\n"},
        {"CRLF replace", "[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n", "A", "x", "9", "[A]\r\nx=9\r\n\r\n[B]\r\ny=2\r\n"},
        {"CRLF append", "[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n", "A", "z", "3",
         "[A]\r\nx=1\r\nz=3\r\n\r\n[B]\r\ny=2\r\n"},
        {"CRLF new section", "[A]\r\nx=1\r\n", "C", "k", "v", "[A]\r\nx=1\r\n[C]\r\nk=v\r\n"},
        {"list key", "[AutoSoPrint]\nList=A1,\n", "AutoSoPrint", "List", "A1,A2,", "[AutoSoPrint]\nList=A1,A2,\n"},
    };
    for (const WriteCase &c : cases) {
        put(c.before);
        QString error;
        EXPECT_TRUE(write(QString::fromLatin1(c.section), QString::fromLatin1(c.key), QString::fromLatin1(c.value), &error))
            << c.name << ": " << error.toStdString();
        EXPECT_EQ(bytes(), c.after.toStdString()) << c.name;
        EXPECT_EQ(read(c.section, c.key), c.value) << c.name;
    }
}

TEST_F(PrivateProfileTest, MissingFileIsCreatedAndNoTemporaryFileIsLeft)
{
    ASSERT_TRUE(write(QStringLiteral("App"), QStringLiteral("key"), QString()));
    EXPECT_EQ(bytes(), "[App]\r\nkey=\r\n");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("settings.ini")});
}

TEST_F(PrivateProfileTest, LongValuesAreWrittenWhole)
{
    const QString value(400, QLatin1Char('v'));
    ASSERT_TRUE(write(QStringLiteral("S"), QStringLiteral("K"), value));
    EXPECT_EQ(read("S", "K", 1000), std::string(400, 'v'));
    EXPECT_EQ(read("S", "K"), std::string(254, 'v'));
}

TEST_F(PrivateProfileTest, ReadOnlyFileIsRefusedAndUnchanged)
{
    // The permission bits decide, so this holds when the tests run as root as well.
    put("[A]\nk=old\n");
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
    QString error;
    EXPECT_FALSE(write(QStringLiteral("A"), QStringLiteral("k"), QStringLiteral("new"), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("read-only"))) << error.toStdString();
    EXPECT_EQ(bytes(), "[A]\nk=old\n");
}

TEST_F(PrivateProfileTest, PermissionsSurviveTheRename)
{
    put("[A]\nk=old\n");
    const auto mode = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup;
    ASSERT_TRUE(QFile::setPermissions(path, mode));
    ASSERT_TRUE(write(QStringLiteral("A"), QStringLiteral("k"), QStringLiteral("new")));
    EXPECT_EQ(QFile::permissions(path) & ~(QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser), mode);
}

TEST_F(PrivateProfileTest, MissingFolderIsAnErrorAndNotCreated)
{
    path = dir.filePath(QStringLiteral("no/such/folder/settings.ini"));
    QString error;
    EXPECT_FALSE(write(QStringLiteral("A"), QStringLiteral("k"), QStringLiteral("v"), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QDir(dir.filePath(QStringLiteral("no"))).exists());
}

TEST_F(PrivateProfileTest, NamesAndValuesThatWouldNotReadBackAreRefused)
{
    put("[A]\nk=old\n");
    const QString cases[][3] = {
        {"", "k", "v"},    {"A]B", "k", "v"},  {"A", "", "v"},     {"A", "a=b", "v"},
        {"A", ";k", "v"},  {"A", "[k", "v"},   {"A", "k", "x\ny"}, {"A", "k", "x\ry"},
        {"A\nB", "k", "v"},
    };
    for (const auto &c : cases) {
        QString error;
        EXPECT_FALSE(write(c[0], c[1], c[2], &error)) << c[0].toStdString() << "/" << c[1].toStdString();
        EXPECT_FALSE(error.isEmpty());
    }
    EXPECT_EQ(bytes(), "[A]\nk=old\n");
}

} // namespace
