#include "dosimport/dos_import.h"

#include "admin/bird_rules.h"
#include "common/pad_field.h"
#include "platform/dialogs.h"
#include "platform/progress.h"
#include "shell/settings/configuration.h"

#include <QFileInfo>

DosImport::DosImport(Database& database, Dialogs& dialogs, Progress& progress)
    : m_database(database), m_data(database), m_dialogs(dialogs), m_progress(progress)
{
}

void DosImport::clear()
{
    m_path.clear();
    m_records.clear();
    m_entries.clear();
    m_newFlyers = 0;
}

bool DosImport::chooseFile(const QString& path)
{
    clear();
    m_path = path;
    const DosReadResult read = ReadDosFile(path);
    if (!read.ok()) {
        m_dialogs.inform(read.adminFileMessage());
        return false;
    }
    m_records = ParseAdminFile(read.bytes);
    listEntries();
    return true;
}

QString DosImport::fileName() const
{
    return QFileInfo(m_path).fileName();
}

QString DosImport::windowTitle() const
{
    const QString name = fileName();
    return QStringLiteral("Import Files from: ") + QStringLiteral("Concourse ") + ConcourseOfFileName(name) +
           QStringLiteral(" ") + QStringLiteral("Combine ") + CombineOfFileName(name);
}

void DosImport::listEntries()
{
    m_entries.clear();
    m_newFlyers = 0;
    for (size_t i = 0; i < m_records.size(); ++i) {
        const Fetched<std::optional<Flyer>> stored = m_data.flyerByName(m_records[i].name);
        if (!stored.ok()) {
            m_dialogs.inform(stored.status.description);
            return;
        }
        const bool isStored = stored.value.has_value();
        if (!isStored)
            ++m_newFlyers;
        m_entries.push_back(
            {static_cast<int>(i), m_records[i].name + (isStored ? kStoredMark : kNewMark), isStored});
    }
}

void DosImport::noInventoryFile(const FlyerRecord& record)
{
    inform(QStringLiteral("No pigeon inventory file for ") + record.name);
}

// The import commits in batches of flyers for speed: every statement that worked stays stored, as if each
// were committed alone, and nothing is held open while a message waits for the user.
void DosImport::beginBatch()
{
    m_batchOpen = m_database.begin().ok();
    m_batchFlyers = 0;
}

void DosImport::endBatch()
{
    if (m_batchOpen)
        m_database.commit();
    m_batchOpen = false;
}

void DosImport::inform(const QString& text)
{
    const bool open = m_batchOpen;
    endBatch();
    m_dialogs.inform(text);
    if (open)
        beginBatch();
}

QString DosImport::import(int clubId, const std::optional<std::vector<int>>& selectedEntries)
{
    m_imported = 0;
    if (m_newFlyers == 0)
        return kAlreadyImportedStatus;

    std::vector<int> taken;
    if (selectedEntries) {
        for (int entry : *selectedEntries) {
            if (entry >= 0 && entry < static_cast<int>(m_entries.size()))
                taken.push_back(m_entries[static_cast<size_t>(entry)].record);
        }
        std::sort(taken.begin(), taken.end());
        taken.erase(std::unique(taken.begin(), taken.end()), taken.end());
    } else {
        for (size_t i = 0; i < m_records.size(); ++i)
            taken.push_back(static_cast<int>(i));
    }

    ImportQueries queries(m_database);
    beginBatch();
    int count = 0;
    for (int index : taken) {
        const FlyerRecord& record = m_records[static_cast<size_t>(index)];
        ++count;
        if (!m_progress.isShown())
            m_progress.show();
        m_progress.setTitle(QStringLiteral("Import Files"));
        m_progress.setUpperLine(QStringLiteral("  Importing Files :"));
        m_progress.setLowerLine(QString::number(count) + QStringLiteral(" Files Transferred"));
        m_progress.repaint();

        if (record.name.trimmed().isEmpty()) {
            inform(QStringLiteral("Illegal action...flyer file has no name."));
            continue;
        }
        const Fetched<std::optional<Flyer>> existing = m_data.flyerByName(record.name);
        if (!existing.ok()) {
            noInventoryFile(record);
            continue;
        }
        if (existing.value)
            continue;
        importFlyer(record, clubId, queries);
        if (++m_batchFlyers >= kFlyersPerBatch) {
            endBatch();
            beginBatch();
        }
    }
    endBatch();
    if (m_progress.isShown())
        m_progress.close();
    listEntries();
    return kImportDoneStatus;
}

void DosImport::importFlyer(const FlyerRecord& record, int clubId, ImportQueries& queries)
{
    const Fetched<int> flyer =
        m_data.addImportedFlyer(clubId, record.name, record.longitude, record.latitude);
    if (!flyer.ok()) {
        noInventoryFile(record);
        return;
    }
    ++m_imported;
    if (!record.birdFileNameValid()) {
        inform(QStringLiteral("Unusable pigeon inventory file name ") + record.birdFileName() +
               QStringLiteral(" for ") + record.name);
        return;
    }

    const QString birdPath = FindFileIgnoringCase(QFileInfo(m_path).absolutePath(), record.birdFileName());
    const DosReadResult read =
        birdPath.isEmpty() ? DosReadResult{DosReadResult::Error::NotFound, {}, {}} : ReadDosFile(birdPath);
    if (!read.ok()) {
        noInventoryFile(record);
        return;
    }

    for (const QString& birdRecord : ParseBirdFile(read.bytes)) {
        const QString band = Mid(birdRecord, 1, 14).toUpper();
        if (const auto problem = bird::numberProblem(Mid(birdRecord, 9, 6))) {
            inform(*problem + QLatin1Char(' ') + band + QStringLiteral(" not imported for ") + record.name);
            continue;
        }
        const std::optional<bool> taken = queries.bandExists(band);
        if (!taken) {
            noInventoryFile(record);
            return;
        }
        if (*taken) {
            inform(QStringLiteral("Duplicate band number ") + band + QStringLiteral("not allowed for ") +
                   record.name);
            continue;
        }
        if (!queries.addBird(BirdFromRecord(birdRecord, flyer.value))) {
            noInventoryFile(record);
            return;
        }
    }
}

QString SaveConfigurationOfFile(const QString& fileName, ConfigValues& values, SettingsStore& store,
                                Dialogs& dialogs)
{
    values.concourse = ConcourseOfFileName(fileName);
    values.combine = CombineOfFileName(fileName);
    return SaveSettings(store, dialogs, values);
}
