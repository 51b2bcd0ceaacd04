#pragma once

#include <QString>
#include <vector>

struct Home;
class SettingsStore;

// One file of the race file chooser.
struct RaceFileEntry {
    QString name;
    bool training = false;
    // As List1 shows it: the name, and " T" behind a training file.
    QString listText() const { return training ? name + QStringLiteral(" T") : name; }
};

// Race files have an extension that begins with a digit ("*.0*;...;*.9*").
bool matchesRaceFilePattern(const QString& fileName);
// Files of the race folder that are not race files: Z*, ST6UNST*, and the RBM* report files.
bool isSkippedFileName(const QString& fileName);

// The race files of folder in name order, training files marked.
std::vector<RaceFileEntry> listRaceFiles(const QString& folder);

QString filesListedText(int count);
inline const QString kNoFilesEntry = QStringLiteral("No files");
inline const QString kNoFilesAfterFailureEntry = QStringLiteral("No Files");

// The race folder of an installation: the setting "RaceFolder" when it names one, else the home's.
QString reportsRaceFolder(const Home& home, const SettingsStore& settings);
