// corvex-cli runs the database commands without the clock, Access and printing libraries and hands every
// other command to corvex-cli-full; to a user both are one program.
#include "support/simulated_clock_process.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(CliPrograms, TheDatabaseProgramLoadsNoSerialAccessOrPaintingLibrary)
{
    const QString readelf = QStandardPaths::findExecutable(QStringLiteral("readelf"));
    if (readelf.isEmpty())
        GTEST_SKIP() << "readelf is not installed";
    QProcess process;
    process.start(readelf, {QStringLiteral("-d"), QStringLiteral(CORVEX_CLI_PATH)});
    ASSERT_TRUE(process.waitForFinished(30000));
    const QByteArray dynamic = process.readAllStandardOutput();
    ASSERT_TRUE(dynamic.contains("libQt6Sql")) << dynamic.toStdString();
    for (const char* library : {"libQt6SerialPort", "libmdb", "libQt6Gui", "libQt6PrintSupport"})
        EXPECT_FALSE(dynamic.contains(library)) << library;
}

TEST(CliPrograms, HelpNoCommandAndUnknownCommandsSpeakForTheWholeProgram)
{
    const CliRun help = runCorvexCli({QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    for (const char* usage :
         {"status", "send-inventory", "download-race", "migrate-mdb", "bird list", "report"})
        EXPECT_TRUE(help.out.contains(usage)) << usage;

    const CliRun none = runCorvexCli({});
    EXPECT_EQ(none.exitCode, 2);
    EXPECT_TRUE(none.err.startsWith("Usage: corvex-cli")) << none.err.toStdString();

    const CliRun unknown = runCorvexCli({QStringLiteral("fly")});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_TRUE(unknown.err.startsWith("corvex-cli: unknown command 'fly'")) << unknown.err.toStdString();
}

// Like the desktop program: the first run makes the database; a file that goes missing later is not
// silently replaced.
TEST(CliPrograms, FirstRunMakesTheDatabaseALaterMissingOneIsReported)
{
    QTemporaryDir home;
    const QStringList list{"--home", home.path(), "club", "list"};
    const CliRun first = runCorvexCli(list);
    EXPECT_EQ(first.exitCode, 0) << first.err.toStdString();
    const QString file = QDir(home.path()).filePath("corvexdata.db");
    ASSERT_TRUE(QFile::remove(file)) << "no database at " << file.toStdString();

    const CliRun later = runCorvexCli(list);
    EXPECT_EQ(later.exitCode, 1);
    EXPECT_TRUE(later.err.contains("The file 'corvexdata.db' is not accessable!")) << later.err.toStdString();
    EXPECT_TRUE(later.err.contains("\"corvex-cli db init\" makes a new empty database."))
        << later.err.toStdString();
    EXPECT_FALSE(QFile::exists(file));
}
