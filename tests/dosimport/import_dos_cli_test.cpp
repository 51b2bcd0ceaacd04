#include "dos_fixture.h"
#include "support/simulated_clock_process.h"

namespace {

class ImportDosCliTest : public DosFolderTest {};

} // namespace

// The command's normal run is part of the season; here the club and flyer choices.
TEST_F(ImportDosCliTest, ImportsTheChosenFlyersIntoTheNamedClub)
{
    TestDatabase db;
    db.addClub("Gone");
    const int hilltop = db.addClub("Hilltop");
    const QString file = writeAdminFile(
        "S123405.DAT", {s3Record("05", "001", "John Smith"), s3Record("05", "002", "Mary Jones")});
    writeBirdFile("Z0105.002", {birdRecord("US08 ABC000002")});
    const auto run = [&](const QStringList& arguments) {
        return runCorvexCli(QStringList{"--home", db.folder(), "import-dos", file} + arguments, 60000);
    };
    const CliRun unknown = run({"--club", "Nowhere"});
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_TRUE(unknown.out.isEmpty());

    const CliRun chosen = run({"--club", "hilltop", "--only", "mary jones"});
    EXPECT_EQ(chosen.exitCode, 0) << chosen.err.toStdString();
    EXPECT_TRUE(chosen.out.endsWith("Flyer(s) imported.\n"));
    const auto jones = db.data().flyerByName(QStringLiteral("Mary Jones")).value;
    ASSERT_TRUE(jones);
    EXPECT_EQ(jones->ClubID, hilltop);
    EXPECT_EQ(db.data().birdsOfFlyer(jones->FlyerID).value.size(), 1u);
    EXPECT_FALSE(db.data().flyerByName("John Smith").value);
}
