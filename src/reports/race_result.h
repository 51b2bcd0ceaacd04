#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

class OwnerLookup;

// The races of one race file: every header (a 72-character header completed with "**") and every clocking
// with the index of the header it follows. No fixed limits: a longer file is shown whole.
struct RaceFileContent {
    struct Clocking {
        QString record;
        int race = -1; // -1 for clockings before the first header
    };
    QStringList headers;
    std::vector<Clocking> clockings;
};

RaceFileContent raceFileContent(const QStringList& records);
RaceFileContent raceFileContent(const QByteArray& bytes);

struct RaceFileLoad {
    bool ok = false;
    bool folderMissing = false;
    RaceFileContent content;
    QString error;
};
RaceFileLoad loadRaceFile(const QString& path);

// The texts of the report window's fields, as fillform and tfillform fill them.
struct RaceFields {
    bool training = false;
    QString raceNumber; // lblRaceNum: the race number or "Training"
    QString comboText;  // "1", "2", ...
    QString raceDate;
    QString liberationPoint;
    QString concourse;
    QString combine;
    QString clubNo;
    QString flyerNo;
    QString rbmSerial;
    QString clockStart;
    QString clockStop;
    QString knockOff;
    bool noKnockOff = false; // both clock fields show "NO Knock Off" in red
    QString devAmount;
    QString devLabel;
};

struct RaceResult {
    RaceFields fields;
    QStringList listLines;       // List1, 54 characters each
    QStringList reportFileLines; // the RaceReportFile, without line ends
    QString reportFileName;      // "RBM" + serial 15-19 + "." + flyer
};

inline const QString kUnknownFlyer = QStringLiteral("Unknown flyer");
inline const QString kNoKnockOff = QStringLiteral("NO Knock Off");
inline const QString kSeconds = QStringLiteral("second(s)");
inline const QString kPossibleClockError = QStringLiteral("Possible clock ERROR!!");
inline const QString kTraining = QStringLiteral("Training");
inline const QString kNotApplicable = QStringLiteral("N/A");

// More than this many seconds between the clock's time and the verified time is flagged.
constexpr int kDeviationTolerance = 10;

// Shows race raceIndex (0-based) of content: header fields, clock check, list and report file lines.
RaceResult computeRaceResult(const RaceFileContent& content, int raceIndex, OwnerLookup& owners);

// The numbers in Combo1: "1" to the race count.
QStringList raceNumbers(const RaceFileContent& content);

// One line of List1.
QString listLine(int position, const QString& owner, const QString& clockingRecord);

// Name of the report file for a header; refusal happens when it is written.
QString reportFileNameFor(const QString& header);
// Only ASCII letters and digits around the one dot.
bool isSafeReportFileName(const QString& name);

struct ReportFileWrite {
    bool ok = false;
    QString path;
    QString error; // the message for the user
};
// Writes the lines with CR LF into folder, replacing a file of that name.
ReportFileWrite writeReportFile(const QString& folder, const QString& name, const QStringList& lines);

QString invalidFileNameMessage(const QString& path);
