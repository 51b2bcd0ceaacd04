// corvex-cli runs the database commands without the clock, Access and printing libraries and hands every
// other command to corvex-cli-full; to a user both are one program.
#include "support/simulated_clock_process.h"

#include <QProcess>
#include <QStandardPaths>
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

TEST(CliPrograms, HelpAndUnknownCommandsSpeakForTheWholeProgram)
{
    const CliRun help = runCorvexCli({QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    for (const char* usage :
         {"status", "send-inventory", "download-race", "migrate-mdb", "bird list", "report"})
        EXPECT_TRUE(help.out.contains(usage)) << usage;

    const CliRun unknown = runCorvexCli({QStringLiteral("fly")});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_TRUE(unknown.err.startsWith("corvex-cli: unknown command 'fly'")) << unknown.err.toStdString();
}
