// corvex-cli as a user starts it: help, wrong usage, and the first run.
#include "support/simulated_clock_process.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(CliPrograms, HelpNoCommandAndUnknownCommandsSpeakForTheWholeProgram)
{
    const CliRun help = runCorvexCli({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    for (const char* usage :
         {"status", "send-inventory", "download-race", "migrate-mdb", "bird list", "report"})
        EXPECT_TRUE(help.out.contains(usage)) << usage;
    for (const auto& [arguments, said] : {std::pair<QStringList, QByteArray>{{}, "Usage: corvex-cli"},
                                          {{"fly"}, "corvex-cli: unknown command 'fly'"}}) {
        const CliRun run = runCorvexCli(arguments);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.err.startsWith(said)) << run.err.toStdString();
    }
}

// Like the desktop program: the first run makes the database; a file that goes missing later is not
// silently replaced.
TEST(CliPrograms, FirstRunMakesTheDatabaseALaterMissingOneIsReported)
{
    QTemporaryDir home;
    const QStringList list{"--home", home.path(), "club", "list"};
    EXPECT_EQ(runCorvexCli(list).exitCode, 0);
    const QString file = QDir(home.path()).filePath("corvexdata.db");
    ASSERT_TRUE(QFile::remove(file)) << "no database at " << file.toStdString();
    const CliRun later = runCorvexCli(list);
    EXPECT_EQ(later.exitCode, 1);
    EXPECT_TRUE(later.err.contains("The file 'corvexdata.db' is not accessable!")) << later.err.toStdString();
    EXPECT_TRUE(later.err.contains("\"corvex-cli db init\" makes a new empty database."));
    EXPECT_FALSE(QFile::exists(file));
}
