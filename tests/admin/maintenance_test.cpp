#include "admin/database_messages.h"
#include "admin/maintenance.h"
#include "platform/recording_progress.h"
#include "platform/scripted_dialogs.h"
#include "support/database_builder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A database with some rows and some deleted ones, closed again.
QString preparedDatabase(const QTemporaryDir& dir)
{
    const QString path = dir.filePath(kDatabaseFileName);
    Database database;
    EXPECT_TRUE(database.open(path, true).ok());
    EXPECT_TRUE(fillDatabase(database, 40, 25).ok());
    AdminData data(database);
    for (int flyer = 1; flyer <= 20; ++flyer)
        EXPECT_TRUE(data.eraseFlyer(flyer).ok());
    return path;
}

int flyerCount(const QString& path)
{
    Database database;
    EXPECT_TRUE(database.open(path).ok());
    return static_cast<int>(AdminData(database).searchFlyers({}).value.size());
}

} // namespace

TEST(Compact, ReplacesTheFileWithASmallerCopyKeepingEveryRow)
{
    QTemporaryDir dir;
    const QString path = preparedDatabase(dir);
    const qint64 before = QFileInfo(path).size();
    ScriptedDialogs dialogs;
    RecordingProgress progress;

    const DbResult result = CompactDatabase(path, dialogs, progress);
    ASSERT_TRUE(result.ok()) << result.description.toStdString();
    EXPECT_TRUE(dialogs.log().empty());
    EXPECT_EQ(progress.events(),
              QStringList({"show", "upper: Please wait...", "lower: Compacting Database", "close"}));
    EXPECT_LT(QFileInfo(path).size(), before);
    EXPECT_FALSE(QFile::exists(dir.filePath(kCompactFileName)));
    EXPECT_FALSE(QFile::exists(path + "-wal"));
    EXPECT_EQ(flyerCount(path), 20);
    EXPECT_TRUE(CheckDatabase(path).ok());
}

TEST(Compact, RefusesWhileAWindowHoldsTheDatabaseAndLeavesItByteForByte)
{
    QTemporaryDir dir;
    const QString path = preparedDatabase(dir);
    Database window;
    ASSERT_TRUE(window.open(path).ok());
    AdminData(window).addClub(QStringLiteral("Unsaved in the log"));
    const QByteArray before = fileBytes(path);
    const QByteArray walBefore = fileBytes(path + "-wal");

    ScriptedDialogs dialogs;
    RecordingProgress progress;
    EXPECT_EQ(CompactDatabase(path, dialogs, progress).code, DbError::InUse);
    ASSERT_EQ(dialogs.log().size(), 1u);
    EXPECT_EQ(dialogs.log()[0].box.text,
              QStringLiteral("Database already open!\r\nPlease close all data entry forms and try again."));
    EXPECT_EQ(dialogs.log()[0].box.title, QString());
    EXPECT_EQ(dialogs.log()[0].box.buttons, Dialogs::Buttons::Ok);
    EXPECT_FALSE(progress.isShown());
    EXPECT_EQ(fileBytes(path), before);
    EXPECT_EQ(fileBytes(path + "-wal"), walBefore);
    EXPECT_FALSE(QFile::exists(dir.filePath(kCompactFileName)));

    // Once the window is closed, compacting goes through.
    window.close();
    dialogs.clearLog();
    EXPECT_TRUE(CompactDatabase(path, dialogs, progress).ok());
    EXPECT_EQ(AdminData(window).countClubs().status.code, DbError::General);
    ASSERT_TRUE(window.open(path).ok());
    EXPECT_EQ(AdminData(window).countClubs().value, 21);
}

TEST(Compact, FailureLeavesTheFileAndShowsTheReason)
{
    QTemporaryDir dir;
    const QString path = preparedDatabase(dir);
    const QByteArray before = fileBytes(path);
    // The copy cannot be written where a folder of its name stands.
    ASSERT_TRUE(QDir(dir.path()).mkpath(kCompactFileName + "/inside"));
    ScriptedDialogs dialogs;
    RecordingProgress progress;
    const DbResult result = CompactDatabase(path, dialogs, progress);
    EXPECT_FALSE(result.ok());
    ASSERT_EQ(dialogs.log().size(), 1u);
    EXPECT_EQ(dialogs.log()[0].box.text, result.description);
    EXPECT_EQ(flyerCount(path), 20);
    EXPECT_TRUE(CheckDatabase(path).ok());
    EXPECT_GT(before.size(), 0);
}

TEST(Compact, MissingFileIsNotCreated)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(kDatabaseFileName);
    ScriptedDialogs dialogs;
    RecordingProgress progress;
    EXPECT_EQ(CompactDatabase(path, dialogs, progress).code, DbError::FileNotFound);
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(dialogs.log().size(), 1u);
}

TEST(Repair, EndsWithACompaction)
{
    QTemporaryDir dir;
    const QString path = preparedDatabase(dir);
    const qint64 before = QFileInfo(path).size();
    ScriptedDialogs dialogs;
    RecordingProgress progress;
    ASSERT_TRUE(RepairDatabase(path, dialogs, progress).ok());
    EXPECT_EQ(progress.events(),
              QStringList({"show", "upper: Please wait...", "lower: Repairing database", "close", "show",
                           "upper: Please wait...", "lower: Compacting Database", "close"}));
    EXPECT_LT(QFileInfo(path).size(), before);
    EXPECT_EQ(flyerCount(path), 20);
}

TEST(Repair, WhileAWindowIsOpenEndsWithTheInUseMessage)
{
    QTemporaryDir dir;
    const QString path = preparedDatabase(dir);
    Database window;
    ASSERT_TRUE(window.open(path).ok());
    ScriptedDialogs dialogs;
    RecordingProgress progress;
    EXPECT_EQ(RepairDatabase(path, dialogs, progress).code, DbError::InUse);
    EXPECT_EQ(dialogs.texts(), QStringList({kDatabaseInUseText}));
    EXPECT_EQ(AdminData(window).searchFlyers({}).value.size(), 20u);
}

TEST(Check, ReportsAForeignFileAndABrokenSchema)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(kDatabaseFileName);
    EXPECT_EQ(CheckDatabase(path).status.code, DbError::FileNotFound);
    {
        Database database;
        ASSERT_TRUE(database.open(path, true).ok());
        EXPECT_TRUE(CheckDatabase(path).ok());
        QSqlQuery(database.connection()).exec(QStringLiteral("ALTER TABLE clubs ADD COLUMN Motto TEXT"));
    }
    const DatabaseCheck check = CheckDatabase(path);
    EXPECT_TRUE(check.status.ok());
    EXPECT_EQ(check.problems, QStringList({"field clubs.Motto does not belong"}));
}

namespace {

struct CliRun {
    int exitCode = -1;
    QString output;
};

CliRun runCli(const QString& home, const QStringList& arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral(CORVEX_CLI_PATH), QStringList({"--home", home}) + arguments);
    process.waitForFinished(60000);
    return {process.exitCode(), QString::fromUtf8(process.readAll())};
}

} // namespace

TEST(DbCommand, InitCheckCompactAndAForeignFile)
{
    QTemporaryDir home;
    CliRun run = runCli(home.path(), {"db", "check"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.output.contains("error 3024")) << run.output.toStdString();

    run = runCli(home.path(), {"db", "init"});
    EXPECT_EQ(run.exitCode, 0) << run.output.toStdString();
    run = runCli(home.path(), {"db", "check"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output.trimmed(), QStringLiteral("ok"));
    run = runCli(home.path(), {"db", "compact"});
    EXPECT_EQ(run.exitCode, 0) << run.output.toStdString();
    run = runCli(home.path(), {"db", "repair"});
    EXPECT_EQ(run.exitCode, 0) << run.output.toStdString();

    const QString path = QDir(home.path()).filePath(kDatabaseFileName);
    QFile::remove(path);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("Race results, week 27\r\n").repeated(200));
    file.close();
    run = runCli(home.path(), {"db", "check"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.output.contains("error 3031")) << run.output.toStdString();
    EXPECT_TRUE(run.output.contains("An incorrect version of the database is detected"))
        << run.output.toStdString();
}
