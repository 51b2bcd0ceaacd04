// Each data command parses, runs the operation the windows run and exits right: 0 done, 1 refused, 2 a
// command line that does not parse. The rules and messages are the operations' own, tested there.
#include "support/simulated_clock_process.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class AdminCli : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(run({"db", "init"}).exitCode, 0); }

    CliRun run(const QStringList& arguments)
    {
        return runCorvexCli(QStringList{"--home", home.path()} + arguments);
    }

    QTemporaryDir home;
};

TEST_F(AdminCli, Clubs)
{
    EXPECT_EQ(run({"club", "add", "Riverside"}).out, "  1 - Riverside\n");
    EXPECT_EQ(run({"club", "add", " O'Hara \"Lofts\""}).out, "  2 - O Hara  Lofts\n");
    EXPECT_EQ(run({"club", "rename", "1", "River Side"}).exitCode, 0);
    EXPECT_EQ(run({"club", "list"}).out, "  1 - River Side\n  2 - O Hara  Lofts\n");
    const CliRun empty = run({"club", "add", " ' "});
    EXPECT_EQ(empty.exitCode, 1);
    EXPECT_EQ(empty.err, "[Error] Must enter a name!\n");
    EXPECT_EQ(run({"club", "rename", "9", "X"}).exitCode, 1);
    EXPECT_EQ(run({"club", "rename", "x", "X"}).exitCode, 2);
    EXPECT_EQ(run({"club", "add"}).exitCode, 2);
}

TEST_F(AdminCli, FlyersAndTheirBirds)
{
    run({"club", "add", "Riverside"});
    EXPECT_EQ(run({"flyer", "add", "Anna", "--club", "1", "--longitude", "0974512"}).out, "Anna\n");
    const CliRun duplicate = run({"flyer", "add", "anna", "--club", "1"});
    EXPECT_EQ(duplicate.exitCode, 1);
    EXPECT_EQ(duplicate.err, "[] anna already exists, please choose another.\n");
    EXPECT_EQ(run({"flyer", "add", "Bert", "--club", "1", "--latitude", "-38.5"}).exitCode, 1);
    EXPECT_EQ(run({"flyer", "add", "Bert"}).exitCode, 2);

    EXPECT_EQ(run({"bird", "add", "anna\t", "--org", "us", "--year", "8", "--club", "ab", "--number", "42"})
                  .exitCode,
              0);
    EXPECT_EQ(run({"bird", "add", "Anna", "--org", "US", "--year", "08", "--club", "ABC", "--number",
                   "110203", "--sex", "H", "--color", "blue"})
                  .exitCode,
              0);
    const CliRun org =
        run({"bird", "add", "Anna", "--org", "UC", "--year", "08", "--club", "A", "--number", "1"});
    EXPECT_EQ(org.exitCode, 1);
    EXPECT_EQ(org.err, "[] Only AU, CA, CU, IF, MX, NP or US are allowed for Nat Org.\n");
    EXPECT_EQ(run({"bird", "edit", "Anna", "US08  AB000042", "--color", "red"}).out,
              " US08  AB000042C 0000000000 RED\n");
    EXPECT_EQ(run({"bird", "list", "Anna"}).out,
              " US08  AB000042C 0000000000 RED\n US08 ABC110203H 0000000000 BLUE\n");
    EXPECT_EQ(run({"bird", "delete", "Anna", "US08  AB000042", "--yes"}).exitCode, 0);

    const CliRun refused = run({"flyer", "erase", "Anna"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.startsWith(
        "[Delete Record] Are you sure you wish to DELETE this flyer and all of their inventory?"));
    EXPECT_EQ(run({"bird", "list", "Anna"}).out.count('\n'), 1);
    EXPECT_EQ(run({"flyer", "erase", "Anna", "--yes"}).exitCode, 0);
    EXPECT_EQ(run({"flyer", "list"}).out, "");
    EXPECT_EQ(run({"bird", "list", "Anna"}).exitCode, 1);
}

TEST_F(AdminCli, LiberationPoints)
{
    EXPECT_EQ(run({"liberation", "add", "7", "7", "4", "Wichita"}).out, "07  07/04  Wichita\n");
    EXPECT_EQ(run({"liberation", "add", "0", "6", "1", "O'Neill"}).exitCode, 0);
    EXPECT_EQ(run({"liberation", "list"}).out,
              "07  07/04  Wichita\n00**06/01  O'Neill\n** - NOT WinSpeed\nCompatible\n");
    const CliRun month = run({"liberation", "add", "8", "13", "1", "Hays"});
    EXPECT_EQ(month.exitCode, 1);
    EXPECT_EQ(month.err, "[] Invalid data for month \n");
    EXPECT_EQ(run({"liberation", "edit", "0", "O'Neill", "--number", "9"}).out, "09  06/01  O'Neill\n");
    EXPECT_EQ(run({"liberation", "delete", "9", "O'Neill", "--yes"}).exitCode, 0);
    EXPECT_EQ(run({"liberation", "list"}).out, "07  07/04  Wichita\n");
}

} // namespace
