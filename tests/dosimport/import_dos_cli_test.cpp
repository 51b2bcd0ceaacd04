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
    const QStringList command{"--home", db.folder(), "import-dos", file, "--club"};
    const CliRun unknown = runCorvexCli(command + QStringList{"Nowhere"}, 60000);
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_TRUE(unknown.out.isEmpty());
    EXPECT_EQ(runCorvexCli(command + QStringList{"hilltop", "--only", "mary jones"}, 60000).exitCode, 0);
    EXPECT_EQ(db.data().flyerByName("Mary Jones").value.value_or(Flyer{}).ClubID, hilltop);
    EXPECT_FALSE(db.data().flyerByName("John Smith").value);
}
