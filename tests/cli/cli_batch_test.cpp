// corvex-cli batch: the commands of standard input or a file, one a line, in one run.
#include "support/simulated_clock_process.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
class CliBatchTest : public ::testing::Test {
protected:
    CliRun batch(const QByteArray& lines, const QStringList& file = {}) const
    {
        return runCorvexCli(QStringList{"--home", m_home.path(), "batch"} + file, 30000, lines);
    }
    CliRun single(const QStringList& command) const
    {
        return runCorvexCli(QStringList{"--home", m_home.path()} + command);
    }

    QTemporaryDir m_home;
};
} // namespace

TEST_F(CliBatchTest, EachLineRunsAsItsOwnCommandWithQuotesCommentsAndBlankLines)
{
    const CliRun run = batch("db init\n"
                             "# the club first\n"
                             "\n"
                             "club add \"North Side\"\n"
                             "  flyer add \"Jo Smith\" --club 1\n"
                             "flyer list\n");
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.endsWith("  1 - North Side\nJo Smith\nJo Smith\n")) << run.out.toStdString();
    EXPECT_EQ(single({"flyer", "list"}).out, "Jo Smith\n");
}

TEST_F(CliBatchTest, StopsAtTheFirstFailureAndRunsNothingAfterIt)
{
    const CliRun run = batch("db init\nclub add A\nclub rename 9 X\nclub add B\n");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("There is no club number 9."));
    EXPECT_TRUE(run.err.endsWith("corvex-cli: batch stopped at line 3: club ended with status 1\n"))
        << run.err.toStdString();
    EXPECT_EQ(single({"club", "list"}).out, "  1 - A\n");

    const CliRun unknown = batch("club list\nbatch\n");
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_TRUE(unknown.err.endsWith("batch stopped at line 2: unknown command 'batch'\n"))
        << unknown.err.toStdString();
}

TEST_F(CliBatchTest, AnAnswerGivenByOneCommandIsNotReusedByTheNext)
{
    ASSERT_EQ(batch("db init\nclub add A\nflyer add X --club 1\nflyer add Y --club 1\n").exitCode, 0);
    // Standard input is no terminal: the second erase gets the safe answer, No.
    const CliRun run = batch("flyer erase X --yes\nflyer erase Y\n");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(single({"flyer", "list"}).out, "Y\n");
}

TEST_F(CliBatchTest, ReadsAFileAndNamesOneThatCannotBeRead)
{
    const QString path = m_home.filePath("commands.txt");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("db init\nclub add A\nclub list\n");
    file.close();
    const CliRun run = batch({}, {path});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.endsWith("  1 - A\n  1 - A\n")) << run.out.toStdString();

    const CliRun missing = batch({}, {m_home.filePath("none.txt")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.startsWith("corvex-cli: cannot read " + m_home.filePath("none.txt").toUtf8()))
        << missing.err.toStdString();
}
