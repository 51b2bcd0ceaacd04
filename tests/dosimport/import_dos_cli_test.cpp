#include "dos_fixture.h"
#include "support/simulated_clock_process.h"

namespace {

CliRun runCli(const QString& home, const QStringList& arguments)
{
    return runCorvexCli(QStringList{"--home", home} + arguments, 60000);
}

class ImportDosCliTest : public DosFolderTest {};

} // namespace

TEST_F(ImportDosCliTest, PrintsTheFlyerListThenImportsIntoTheNamedClub)
{
    TestDatabase db;
    db.addClub("Gone");
    const int hilltop = db.addClub("Hilltop");
    const QString file = writeAdminFile(
        "S123405.DAT", {s3Record("05", "001", "John Smith"), s3Record("05", "002", "Mary Jones")});
    writeBirdFile("Z0105.002", {birdRecord("US08 ABC000002")});

    const CliRun run = runCli(
        db.folder(), {"import-dos", file, "--club", "hilltop", "--only", "mary jones", "--update-config"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, QByteArray("Import Files from: Concourse 1234 Combine 05\n"
                                  "John Smith          [   ]\n"
                                  "Mary Jones          [   ]\n"
                                  "Flyer(s) imported.\n"));
    const auto jones = db.data().flyerByName(QStringLiteral("Mary Jones")).value;
    ASSERT_TRUE(jones);
    EXPECT_EQ(jones->ClubID, hilltop);
    EXPECT_EQ(db.data().birdsOfFlyer(jones->FlyerID).value.size(), 1u);
    EXPECT_FALSE(db.data().flyerByName("John Smith").value);

    QFile settings(QDir(db.folder()).filePath("Corvex.conf"));
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
    const QByteArray stored = settings.readAll();
    EXPECT_TRUE(stored.contains("Concourse=1234")) << stored.toStdString();
    EXPECT_TRUE(stored.contains("Combine=05")) << stored.toStdString();

    const CliRun unknown = runCli(db.folder(), {"import-dos", file, "--club", "Nowhere"});
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_TRUE(unknown.out.isEmpty());
}
