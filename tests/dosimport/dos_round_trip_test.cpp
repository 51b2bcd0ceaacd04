// Flyers imported from the DOS program's files go to the stand-in clock and come back as the same flyers,
// also from a module the DOS program itself wrote.
#include "dos_fixture.h"
#include "dosimport/dos_import.h"
#include "transfer/inventory_receive.h"
#include "transfer/inventory_send.h"
#include "transfer/transfer_fixture.h"

namespace {

class DosRoundTrip : public TransferTest {
protected:
    QString write(const QString& name, const QByteArray& bytes)
    {
        QFile file(QDir(files.path()).filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        return file.fileName();
    }

    QTemporaryDir files;
};

TEST_F(DosRoundTrip, ImportedNamesComeBackFromTheClockAsTheSameFlyers)
{
    const int club = db.addClub("Riverside");
    const QString admin = write(
        "S123405.DAT", dosText({s3Record("05", "001", "PAT O'NEIL"), s3Record("05", "002", "JÖRG MÜLLER")}));
    write("Z0105.001", dosText({birdRecord("US24 ABC000001", "C", "00A1B2C3D1")}));
    write("Z0105.002", dosText({birdRecord("US24 ABC000002", "H", "00A1B2C3D2")}));
    DosImport dosImport(db.database(), dialogs, progress);
    ASSERT_TRUE(dosImport.chooseFile(admin));
    dosImport.import(club, std::nullopt);

    const QStringList bands{"US24 ABC000001", "US24 ABC000002"};
    for (int i = 0; i < 2; ++i) {
        const FlyerRecord imported = dosImport.records()[size_t(i)];
        const auto flyer = db.data().flyerByName(imported.name).value;
        ASSERT_TRUE(flyer);
        // The module as the DOS program wrote it: the name as in its file, in code page 437.
        sim.update([&](ClockScenario& s) {
            s.s3 = fromWindows1252(toCodePage437(Mid(imported.record, 1, 32) + "00000000000000"));
            s.birds = {QLatin1Char('Z') + birdRecord(bands[i], "C", "1111111111")};
        });
        EXPECT_EQ(receiveInventory(link(), dialogs, progress, db.database()).outcome, ReceiveOutcome::Stored);
        // Sent over that module without the name question, and received back.
        SendInventoryRequest request;
        request.flyerName = flyer->Name;
        request.settings = settings;
        EXPECT_EQ(sendInventory(link(), dialogs, progress, db.data(), request).outcome,
                  SendInventoryOutcome::Sent);
        EXPECT_EQ(receiveInventory(link(), dialogs, progress, db.database()).outcome, ReceiveOutcome::Stored);
        ASSERT_EQ(birdsOf(flyer->FlyerID).size(), 1u);
        EXPECT_EQ(birdsOf(flyer->FlyerID)[0].elecnumber, "1111111111");
    }
    EXPECT_EQ(db.data().searchFlyers({}).value.size(), 2u);
}

} // namespace
