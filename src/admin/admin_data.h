#pragma once

// Every statement the program issues against the administration database, one function each. Values are
// always bound, so quotes, %, _ and * typed by a user are plain characters. Text comparisons ignore letter
// case and trailing spaces; listings without an order of their own come in stored order.
//
// Callers clean names with CleanText before storing them; the data layer stores what it is given.
// A band identity is the 14-character text with padded fields ("US08 ABC012345"); it is compared part by
// part (2, 2, 4, 6 characters), so a year typed as "8" must be padded to "08" first.

#include "database/database.h"
#include "database/fetched.h"
#include "database/schema.h"

#include <QStringList>
#include <optional>
#include <vector>

class AdminData {
public:
    explicit AdminData(Database& database) : m_db(database) {}
    Database& database() const { return m_db; }

    // --- clubs
    // Clubs whose name begins with text (case ignored); an empty text lists the whole table.
    Fetched<std::vector<Club>> searchClubs(const QString& text) const;
    Fetched<int> countClubs() const;
    // The first club stored with this name.
    Fetched<std::optional<Club>> clubByName(const QString& name) const;
    Fetched<std::optional<QString>> clubName(int clubId) const;
    // Returns the new ClubID.
    Fetched<int> addClub(const QString& name) const;
    DbResult renameClub(int clubId, const QString& name) const;
    // Gives a club another ClubID (the demo's clubs match the stand-in clock's numbers).
    DbResult renumberClub(int clubId, int newClubId) const;

    // --- flyers
    // Flyers whose name begins with text; an empty text lists the whole table.
    Fetched<std::vector<Flyer>> searchFlyers(const QString& text) const;
    // The first flyer stored with this name (names from the clock carry trailing spaces: they match).
    Fetched<std::optional<Flyer>> flyerByName(const QString& name) const;
    Fetched<std::optional<QString>> flyerNameById(int flyerId) const;
    // WinSpeed: the flyer with this club and flyer number.
    Fetched<std::optional<QString>> flyerNameByClubAndId(int clubId, int flyerId) const;
    // The same flyer whole: a race result takes its loft's position.
    Fetched<std::optional<Flyer>> flyerByClubAndId(int clubId, int flyerId) const;
    // Returns the new FlyerID; FlyerID of the argument is ignored.
    Fetched<int> addFlyer(const Flyer& flyer) const;
    // A flyer from a DOS administration file: the fields the file lacks read "Empty".
    Fetched<int> addImportedFlyer(int clubId, const QString& name, const QString& longitude,
                                  const QString& latitude) const;
    // Writes every field of the flyer with flyer.FlyerID.
    DbResult updateFlyer(const Flyer& flyer) const;
    // Gives a flyer without birds another FlyerID.
    DbResult renumberFlyer(int flyerId, int newFlyerId) const;
    // Deletes the flyer's birds and the flyer, all or nothing. Returns the number of rows removed.
    Fetched<int> eraseFlyer(int flyerId) const;

    // --- birds
    // A flyer's birds in stored order.
    Fetched<std::vector<Bird>> birdsOfFlyer(int flyerId) const;
    // A flyer's birds for the bird list: by characters 3 to 6 of bnumber as text, then stored order.
    Fetched<std::vector<Bird>> birdsOfFlyerListed(int flyerId) const;
    // The flyer's first bird with this band identity.
    Fetched<std::optional<Bird>> birdOfFlyer(int flyerId, const QString& band) const;
    // Birds of all flyers with this band identity, stored order.
    Fetched<std::vector<Bird>> birdsByBand(const QString& band) const;
    Fetched<bool> bandExists(const QString& band) const;
    // Birds of all flyers with this electronic ring number, stored order.
    Fetched<std::vector<Bird>> birdsByElecnumber(const QString& elecnumber) const;
    // Colour (WinSpeed) and owner (race reports) of the first bird with these club letters and number.
    Fetched<std::optional<QString>> birdColour(const QString& clubletters, const QString& bnumber) const;
    Fetched<std::optional<int>> birdFlyerId(const QString& clubletters, const QString& bnumber) const;
    // The bands of every bird with one of these band numbers: a race result asks for thousands at once.
    Fetched<std::vector<BandParts>> bandsWithNumbers(const QStringList& bnumbers) const;
    // Returns the new row number; rowId of the argument is ignored.
    Fetched<qint64> addBird(const Bird& bird) const;
    // Editing a bird stores it anew: the old row is deleted and the new one added, all or nothing.
    Fetched<qint64> replaceBird(qint64 rowId, const Bird& bird) const;
    DbResult setElecnumber(qint64 rowId, const QString& elecnumber) const;
    DbResult deleteBird(qint64 rowId) const;

    // Stores a received inventory for the flyer named in the S3 record (20 characters from position 13):
    // every Z record becomes a bird of that flyer with colour NONE, all or nothing, without a band test.
    // Returns the number of birds added; 3021 when no such flyer is stored.
    Fetched<int> InsertNewData(const QString& s3Record, const QStringList& zRecords) const;

    // --- liberation points (orte)
    Fetched<std::vector<LiberationPoint>> liberationPoints() const;
    Fetched<int> countLiberationPoints() const;
    // The first point stored with this name and race number.
    Fetched<std::optional<LiberationPoint>> liberationPoint(const QString& racename,
                                                            const QString& racenum) const;
    // The first point stored for this race number ("07") and date ("0704").
    Fetched<std::optional<LiberationPoint>> liberationPointOfRace(const QString& racenum,
                                                                  const QString& racedate) const;
    Fetched<qint64> addLiberationPoint(const LiberationPoint& point) const;
    DbResult updateLiberationPoint(qint64 rowId, const LiberationPoint& point) const;
    DbResult deleteLiberationPoint(qint64 rowId) const;

private:
    Database& m_db;
};
