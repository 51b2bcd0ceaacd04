#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct CliRun {
    int status = -1;
    QString out, err;
};

class AdminCli : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(run({"db", "init"}).status, 0); }

    CliRun run(const QStringList& arguments)
    {
        QProcess process;
        process.setProcessChannelMode(QProcess::SeparateChannels);
        process.start(CORVEX_CLI_PATH, QStringList{"--home", home.path()} + arguments);
        process.closeWriteChannel();
        EXPECT_TRUE(process.waitForFinished(30000));
        return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }

    QTemporaryDir home;
};

TEST_F(AdminCli, ClubsAreAddedCleanedAndRenamed)
{
    EXPECT_EQ(run({"club", "add", "Riverside"}).out, "  1 - Riverside\n");
    EXPECT_EQ(run({"club", "add", " O'Hara \"Lofts\""}).out, "  2 - O Hara  Lofts\n");
    EXPECT_EQ(run({"club", "rename", "1", "River Side"}).status, 0);
    EXPECT_EQ(run({"club", "list"}).out, "  1 - River Side\n  2 - O Hara  Lofts\n");

    const CliRun empty = run({"club", "add", " ' "});
    EXPECT_EQ(empty.status, 1);
    EXPECT_EQ(empty.err, "[Error] Must enter a name!\n");
    EXPECT_EQ(run({"club", "rename", "9", "X"}).status, 1);
    EXPECT_EQ(run({"club", "rename", "x", "X"}).status, 2);
    EXPECT_EQ(run({"club", "add"}).status, 2);
}

TEST_F(AdminCli, FlyersAndTheirBirds)
{
    run({"club", "add", "Riverside"});
    EXPECT_EQ(run({"flyer", "add", "Anna", "--club", "1", "--longitude", "0974512"}).out, "Anna\n");
    const CliRun duplicate = run({"flyer", "add", "anna", "--club", "1"});
    EXPECT_EQ(duplicate.status, 1);
    EXPECT_EQ(duplicate.err, "[] anna already exists, please choose another.\n");
    EXPECT_EQ(run({"flyer", "add", "Bert", "--club", "1", "--latitude", "-38.5"}).status, 1);
    EXPECT_EQ(run({"flyer", "add", "Bert"}).status, 2);

    EXPECT_EQ(
        run({"bird", "add", "Anna", "--org", "us", "--year", "8", "--club", "ab", "--number", "42"}).status,
        0);
    EXPECT_EQ(run({"bird", "add", "Anna", "--org", "US", "--year", "08", "--club", "ABC", "--number",
                   "110203", "--sex", "H", "--color", "blue"})
                  .status,
              0);
    EXPECT_EQ(run({"bird", "list", "Anna"}).out,
              " US08  AB000042C 0000000000 NONE\n US08 ABC110203H 0000000000 BLUE\n");

    const CliRun org =
        run({"bird", "add", "Anna", "--org", "UC", "--year", "08", "--club", "A", "--number", "1"});
    EXPECT_EQ(org.status, 1);
    EXPECT_EQ(org.err, "[] Only AU, CA, CU, IF, MX, NP or US are allowed for Nat Org.\n");
    const CliRun year =
        run({"bird", "add", "Anna", "--org", "US", "--year", "50", "--club", "A", "--number", "1"});
    EXPECT_EQ(year.err, "[] Valid numbers are 80--> <--11\n");

    EXPECT_EQ(run({"bird", "edit", "Anna", "US08  AB000042", "--color", "red"}).out,
              " US08  AB000042C 0000000000 RED\n");

    const CliRun refused = run({"flyer", "erase", "Anna"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(refused.err.startsWith(
        "[Delete Record] Are you sure you wish to DELETE this flyer and all of their inventory?"));
    EXPECT_EQ(run({"bird", "list", "Anna"}).out.count('\n'), 2);
    EXPECT_EQ(run({"flyer", "erase", "Anna", "--yes"}).status, 0);
    EXPECT_EQ(run({"flyer", "list"}).out, "");
    EXPECT_EQ(run({"bird", "list", "Anna"}).status, 1);
}

TEST_F(AdminCli, LiberationPoints)
{
    EXPECT_EQ(run({"liberation", "add", "7", "7", "4", "Wichita"}).out, "07  07/04  Wichita\n");
    EXPECT_EQ(run({"liberation", "list"}).out, "07  07/04  Wichita\n");
    EXPECT_EQ(run({"liberation", "add", "0", "6", "1", "O'Neill"}).status, 0);
    EXPECT_EQ(run({"liberation", "list"}).out,
              "07  07/04  Wichita\n00**06/01  O'Neill\n** - NOT WinSpeed\nCompatible\n");
    const CliRun month = run({"liberation", "add", "8", "13", "1", "Hays"});
    EXPECT_EQ(month.status, 1);
    EXPECT_EQ(month.err, "[] Invalid data for month \n");
    EXPECT_EQ(run({"liberation", "edit", "0", "O'Neill", "--number", "9"}).out, "09  06/01  O'Neill\n");
    EXPECT_EQ(run({"liberation", "delete", "9", "O'Neill", "--yes"}).status, 0);
    EXPECT_EQ(run({"liberation", "list"}).out, "07  07/04  Wichita\n");
}

} // namespace
