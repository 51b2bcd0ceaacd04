#include "admin/admin_records.h"
#include "dos_fixture.h"
#include "dosimport/dos_import.h"
#include "settings/configuration.h"
#include "settings/settings_store.h"
#include "support/simulated_clock_process.h"

#include <QSqlQuery>

namespace {

class DosImportTest : public DosFolderTest {
protected:
    void SetUp() override
    {
        DosFolderTest::SetUp();
        clubId = db.addClub("Riverside");
    }

    // Flyer names of the database in stored order.
    QStringList storedNames()
    {
        QStringList names;
        const auto flyers = db.data().searchFlyers({});
        EXPECT_TRUE(flyers.ok());
        for (const Flyer& flyer : flyers.value)
            names << flyer.Name;
        return names;
    }

    std::vector<Bird> birdsOf(const QString& name)
    {
        const auto flyer = db.data().flyerByName(name);
        if (!flyer.value)
            return {};
        return db.data().birdsOfFlyer(flyer.value->FlyerID).value;
    }

    TestDatabase db;
    int clubId = 0;
    DosImport dosImport{db.database(), dialogs, progress};
};

QString name20(const QString& name)
{
    return PadField(name, 20, u' ', true);
}

// Looks at the database through a connection of its own while each box is shown.
class PeekingDialogs : public ScriptedDialogs {
public:
    explicit PeekingDialogs(const QString& path) { m_other.open(path); }
    Answer message(const Box& box) override
    {
        const auto flyers = AdminData(m_other).searchFlyers({});
        seen << QString::number(flyers.value.size());
        // A writer of its own must not wait for the import.
        writable = writable && AdminData(m_other).addClub("Other").ok();
        return ScriptedDialogs::message(box);
    }
    QStringList seen;
    bool writable = true;

private:
    Database m_other;
};

} // namespace

TEST_F(DosImportTest, ListsStoredAndNewFlyersAndImportsOnlyTheNewOnes)
{
    db.addFlyer(kJones, clubId);
    const QString path =
        writeAdminFile("S123405.DAT", {s3Record("05", "001", kSmith), s3Record("05", "002", kJones),
                                       s3Record("05", "003", kBrown, "1111111", "2222222")});
    writeBirdFile("Z0105.001",
                  {birdRecord("US08 ABC000001"), birdRecord("US08 ABC000002", "H", "1234567890", "1")});
    writeBirdFile("Z0105.003", {birdRecord("US08 ABC000003")});

    ASSERT_TRUE(dosImport.chooseFile(path));
    EXPECT_EQ(dosImport.windowTitle(), "Import Files from: Concourse 1234 Combine 05");
    ASSERT_EQ(dosImport.entries().size(), 3u);
    EXPECT_EQ(dosImport.entries()[0].text, name20(kSmith) + QStringLiteral("[   ]"));
    EXPECT_EQ(dosImport.entries()[1].text, name20(kJones) + QStringLiteral("[X]"));
    EXPECT_EQ(dosImport.newFlyers(), 2);

    // Nothing selected: nothing stored, no progress, and still the closing status.
    EXPECT_EQ(dosImport.import(clubId, std::vector<int>{}), "Flyer(s) imported.");
    EXPECT_EQ(progress.timesShown(), 0);
    // What is selected does not matter without "selected only".
    EXPECT_EQ(dosImport.import(clubId, std::nullopt), "Flyer(s) imported.");
    EXPECT_TRUE(dialogs.log().empty());
    EXPECT_EQ(storedNames(), (QStringList{kJones, name20(kSmith), name20(kBrown)}));
    const auto brown = db.data().flyerByName(kBrown).value;
    ASSERT_TRUE(brown);
    EXPECT_EQ(
        (QStringList{QString::number(brown->ClubID), brown->Longitude, brown->Latitude, brown->Address,
                     brown->CityStateZip, brown->email, brown->Phone}),
        (QStringList{QString::number(clubId), "1111111", "2222222", "Empty", "Empty", "Empty", "Empty"}));
    EXPECT_EQ(buildZRecord(birdsOf(kSmith).at(1)),
              "Z" + birdRecord("US08 ABC000002", "H", "1234567890", "1"));

    // The progress window: its title, both lines per record taken, and closed at the end.
    EXPECT_EQ((QStringList{progress.title(), progress.upperLine(), progress.lowerLine()}),
              (QStringList{"Import Files", "  Importing Files :", "3 Files Transferred"}));
    EXPECT_TRUE(progress.events().contains("lower: 1 Files Transferred"));
    EXPECT_FALSE(progress.isShown());

    // The list is rebuilt: everything is stored now.
    EXPECT_EQ(dosImport.entries()[0].text, name20(kSmith) + QStringLiteral("[X]"));
    EXPECT_EQ(dosImport.import(clubId, std::nullopt), "Flyers already imported.");
}

TEST_F(DosImportTest, EachFlyerAndBirdGetsItsOwnOutcomeCommittedBeforeItsMessage)
{
    PeekingDialogs peeking(db.path());
    DosImport peeked(db.database(), peeking, progress);
    const int other = db.addFlyer(kJones, clubId);
    db.addBird(other, "US08 ABC000001");
    const QString oneil = "Pat O Neil  Jr";
    // Quotes inside a record would end a quoted field early: written unquoted.
    write("S123405.DAT",
          dosText({s3Record("05", "001", QString()), s3Record("05", "002", "'\"|'"),
                   QStringLiteral("S3   01./../") + name20(kBrown), s3Record("05", "003", kSmith),
                   s3Record("05", "004", "Pat O'Neil \"Jr\"")}));
    // Written in lower case on a case-sensitive disk: still found. Bands are compared in capitals and
    // stored as they stand; the second copy within the same file is refused too.
    writeBirdFile("z0105.004", {birdRecord("us08 abc000001"), birdRecord("us09 abc000007"),
                                birdRecord("US09 ABC000007"), birdRecord("US08 ABC00000X")});
    ASSERT_TRUE(peeked.chooseFile(QDir(files.path()).filePath("S123405.DAT")));
    EXPECT_EQ(peeked.entries()[4].text, name20(oneil) + QStringLiteral("[   ]"));
    peeked.import(clubId, std::nullopt);
    // No space before "not".
    EXPECT_EQ(
        peeking.texts(),
        (QStringList{"Illegal action...flyer file has no name.", "Illegal action...flyer file has no name.",
                     "Unusable pigeon inventory file name Z01./.../ for " + name20(kBrown),
                     "No pigeon inventory file for " + name20(kSmith),
                     "Duplicate band number US08 ABC000001not allowed for " + name20(oneil),
                     "Duplicate band number US09 ABC000007not allowed for " + name20(oneil),
                     "The band number takes digits only. US08 ABC00000X not imported for " + name20(oneil)}));
    EXPECT_TRUE(peeking.log()[0].box.title.isEmpty());
    // What was stored before each message is seen, and can be written beside, from another connection.
    EXPECT_EQ(peeking.seen, (QStringList{"1", "1", "2", "3", "4", "4", "4"}));
    EXPECT_TRUE(peeking.writable);
    EXPECT_EQ(storedNames(), (QStringList{kJones, name20(kBrown), name20(kSmith), name20(oneil)}));
    EXPECT_TRUE(birdsOf(kBrown).empty());
    EXPECT_TRUE(birdsOf(kSmith).empty());
    ASSERT_EQ(birdsOf(oneil).size(), 1u);
    EXPECT_EQ(birdsOf(oneil)[0].band(), "us09 abc000007");
    EXPECT_EQ(db.data().birdsOfFlyer(other).value.size(), 1u);
}

// The command's own part: the club and the flyers it names, in any letter case.
TEST_F(DosImportTest, CommandImportsOnlyTheNamedFlyersIntoTheNamedClub)
{
    const int hilltop = db.addClub("Hilltop");
    const QString file =
        writeAdminFile("S123405.DAT", {s3Record("05", "001", kSmith), s3Record("05", "002", kJones)});
    const QStringList command{"--home", db.folder(), "import-dos", file,
                              "--club", "hilltop",   "--only",     "mary jones"};
    EXPECT_EQ(runCorvexCli(command, 60000).exitCode, 0);
    EXPECT_EQ(db.data().flyerByName(kJones).value.value_or(Flyer{}).ClubID, hilltop);
    EXPECT_FALSE(db.data().flyerByName(kSmith).value);
}

TEST_F(DosImportTest, AMissingAdminFileShowsTheReadErrorAndListsNothing)
{
    EXPECT_FALSE(dosImport.chooseFile(QDir(files.path()).filePath("S123405.DAT")));
    EXPECT_EQ(dialogs.texts(), QStringList{QStringLiteral("Error retrieving data.  No import files found.\r\n"
                                                          "Please go to the Options menu and change\r\n"
                                                          "the Concourse and Combine descriptions.")});
}

class DosImportFailure : public DosFolderTest, public testing::WithParamInterface<Engine> {};
INSTANTIATE_TEST_SUITE_P(Engines, DosImportFailure, testing::Values(Engine::File, Engine::Server),
                         engineName);

// The database refuses the second bird of the third of five flyers: the others are stored with all their
// birds, what the third got before the failure stays, and the command says so and ends with status 1.
TEST_P(DosImportFailure, OneFailingFlyerKeepsTheOthersAndIsNamed)
{
    if (GetParam() == Engine::Server && TestServer::adminUri().isEmpty())
        GTEST_SKIP() << "CORVEX_TEST_PG_URI is not set: no PostgreSQL server to run on";
    TestDatabase db(GetParam());
    db.addClub("Riverside");
    QStringList records;
    for (int flyer = 1; flyer <= 5; ++flyer) {
        records << s3Record("05", QStringLiteral("00%1").arg(flyer), QStringLiteral("Flyer %1").arg(flyer));
        writeBirdFile(QStringLiteral("Z0105.00%1").arg(flyer),
                      {birdRecord(QStringLiteral("US08 ABC0000%1").arg(flyer * 10 + 1)),
                       birdRecord(QStringLiteral("US08 ABC0000%1").arg(flyer * 10 + 2))});
    }
    const QString file = writeAdminFile("S123405.DAT", records);
    const QString condition = "NEW.bnumber = '000032'";
    ASSERT_TRUE(
        QSqlQuery(db.database().connection())
            .exec(GetParam() == Engine::File
                      ? "CREATE TRIGGER full_disk BEFORE INSERT ON birds WHEN " + condition +
                            " BEGIN SELECT RAISE(ABORT, 'disk full'); END"
                      : "CREATE FUNCTION full_disk() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN IF " +
                            condition +
                            " THEN RAISE EXCEPTION 'disk full'; END IF; RETURN NEW; END $$; "
                            "CREATE TRIGGER full_disk BEFORE INSERT ON birds FOR EACH ROW "
                            "EXECUTE FUNCTION full_disk()"));
    const CliRun run = runCorvexCli(
        {"--home", db.folder(), "--database", db.path(), "import-dos", file, "--club", "Riverside"}, 60000);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.endsWith("4 flyer(s) imported, 1 not imported.\n")) << run.out.toStdString();
    EXPECT_TRUE(run.err.contains("The flyer Flyer 3 could not be stored completely: "))
        << run.err.toStdString();
    for (int flyer = 1; flyer <= 5; ++flyer) {
        const auto stored = db.data().flyerByName(QStringLiteral("Flyer %1").arg(flyer)).value;
        ASSERT_TRUE(stored) << flyer;
        EXPECT_EQ(db.data().birdsOfFlyer(stored->FlyerID).value.size(), flyer == 3 ? 1u : 2u) << flyer;
    }
}
