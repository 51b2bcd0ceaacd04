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

    QTemporaryDir m_home;
};
} // namespace

// Each line is a command of its own, with quotes, comments and blank lines; an answer given to one command
// is not reused by the next (standard input is no terminal: the second erase gets the safe answer, No).
TEST_F(CliBatchTest, EachLineRunsAsItsOwnCommand)
{
    const CliRun run = batch("db init\n# the club first\n\nclub add \"North Side\"\n"
                             "  flyer add \"Jo Smith\" --club 1\nflyer add Y --club 1\nflyer list\n");
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.endsWith("  1 - North Side\nJo Smith\nY\nJo Smith\nY\n")) << run.out.toStdString();
    EXPECT_EQ(batch("flyer erase \"Jo Smith\" --yes\nflyer erase Y\n").exitCode, 1);
    EXPECT_EQ(batch("flyer list\n").out, "Y\n");

    const QString path = m_home.filePath("commands.txt");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("club add B\nclub list\n");
    file.close();
    EXPECT_TRUE(batch({}, {path}).out.endsWith("  1 - North Side\n  2 - B\n"));
}

// The first failure stops the batch with its status and its line; nothing after it runs.
TEST_F(CliBatchTest, StopsAtTheFirstFailure)
{
    const CliRun run = batch("db init\nclub add A\nclub rename 9 X\nclub add B\n");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("There is no club number 9."));
    EXPECT_TRUE(run.err.endsWith("corvex-cli: batch stopped at line 3: club ended with status 1\n"))
        << run.err.toStdString();
    EXPECT_EQ(batch("club list\n").out, "  1 - A\n");

    const CliRun unknown = batch("club list\nbatch\n");
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_TRUE(unknown.err.endsWith("batch stopped at line 2: unknown command 'batch'\n"))
        << unknown.err.toStdString();
    const CliRun missing = batch({}, {m_home.filePath("none.txt")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.startsWith("corvex-cli: cannot read " + m_home.filePath("none.txt").toUtf8()));
}
