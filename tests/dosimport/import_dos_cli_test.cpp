#include "dos_fixture.h"

#include <QProcess>

namespace {

struct CliRun {
    int exitCode = -1;
    QString out, err;
};

CliRun runCli(const QString& home, const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral(CORVEX_CLI_PATH), QStringList{QStringLiteral("--home"), home} + arguments);
    process.closeWriteChannel();
    EXPECT_TRUE(process.waitForFinished(60000));
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

class ImportDosCliTest : public DosFolderTest {};

} // namespace

TEST_F(ImportDosCliTest, PrintsTheFlyerListThenImportsIntoTheNamedClub)
{
    TestDatabase db;
    db.addClub(QStringLiteral("Gone"));
    const int hilltop = db.addClub(QStringLiteral("Hilltop"));
    const QString file =
        writeAdminFile(QStringLiteral("S123405.DAT"),
                       {s3Record(QStringLiteral("05"), QStringLiteral("001"), QStringLiteral("John Smith")),
                        s3Record(QStringLiteral("05"), QStringLiteral("002"), QStringLiteral("Mary Jones"))});
    writeBirdFile(QStringLiteral("Z0105.002"), {birdRecord(QStringLiteral("US08 ABC000002"))});

    const CliRun run = runCli(db.folder(), {QStringLiteral("import-dos"), file, QStringLiteral("--club"),
                                            QStringLiteral("hilltop"), QStringLiteral("--only"),
                                            QStringLiteral("mary jones"), QStringLiteral("--update-config")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, QStringLiteral("Import Files from: Concourse 1234 Combine 05\n"
                                      "John Smith          [   ]\n"
                                      "Mary Jones          [   ]\n"
                                      "Flyer(s) imported.\n"));
    const auto jones = db.data().flyerByName(QStringLiteral("Mary Jones")).value;
    ASSERT_TRUE(jones);
    EXPECT_EQ(jones->ClubID, hilltop);
    EXPECT_EQ(db.data().birdsOfFlyer(jones->FlyerID).value.size(), 1u);
    EXPECT_FALSE(db.data().flyerByName(QStringLiteral("John Smith")).value);

    QFile settings(QDir(db.folder()).filePath(QStringLiteral("Corvex.conf")));
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
    const QByteArray stored = settings.readAll();
    EXPECT_TRUE(stored.contains("Concourse=1234")) << stored.toStdString();
    EXPECT_TRUE(stored.contains("Combine=05")) << stored.toStdString();

    const CliRun unknown = runCli(db.folder(), {QStringLiteral("import-dos"), file, QStringLiteral("--club"),
                                                QStringLiteral("Nowhere")});
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_TRUE(unknown.out.isEmpty());
}
