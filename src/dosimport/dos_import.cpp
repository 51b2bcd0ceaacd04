#include "dosimport/dos_import.h"

#include "admin/bird_rules.h"
#include "common/pad_field.h"
#include "platform/dialogs.h"
#include "platform/progress.h"
#include "settings/configuration.h"

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
    const DosReadResult read = readDosFile(path);
    if (!read.ok()) {
        m_dialogs.inform(read.adminFileMessage());
        return false;
    }
    m_records = parseAdminFile(read.bytes);
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
    return QStringLiteral("Import Files from: ") + QStringLiteral("Concourse ") + concourseOfFileName(name) +
           QStringLiteral(" ") + QStringLiteral("Combine ") + combineOfFileName(name);
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

void DosImport::flyerFailed(const FlyerRecord& record, const QString& why)
{
    inform(QStringLiteral("The flyer ") + record.name.trimmed() +
           QStringLiteral(" could not be stored completely: ") + why);
}

// The import commits in batches of flyers for speed: every statement that worked stays stored, as if each
// were committed alone (a failing one undoes only itself), and nothing is held open while a message waits
// for the user.
void DosImport::beginBatch()
{
    m_batchStatus = m_database.begin();
    m_batchOpen = m_batchStatus.ok();
    m_batchFlyers.clear();
}

void DosImport::endBatch()
{
    if (!m_batchOpen)
        return;
    m_batchOpen = false;
    const DbResult committed = m_database.commit();
    if (committed.ok() || m_batchFlyers.isEmpty())
        return;
    for (const QString& name : std::as_const(m_batchFlyers)) {
        if (name == m_current) {
            m_currentLost = true;
        } else {
            --m_imported;
            ++m_failed;
        }
    }
    m_dialogs.inform(QStringLiteral("These flyers could not be stored: ") + committed.description +
                     QStringLiteral("\r\n") + m_batchFlyers.join(QStringLiteral("\r\n")));
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
    m_failed = 0;
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
        if (!m_batchOpen)
            beginBatch();
        if (!m_batchOpen) {
            ++m_failed;
            flyerFailed(record, m_batchStatus.description);
            continue;
        }
        m_current = record.name.trimmed();
        m_currentLost = false;
        const bool stored = importFlyer(record, clubId, queries);
        ++(stored && !m_currentLost ? m_imported : m_failed);
        m_current.clear();
        if (m_batchFlyers.size() >= kFlyersPerBatch)
            endBatch();
    }
    endBatch();
    if (m_progress.isShown())
        m_progress.close();
    listEntries();
    if (m_failed > 0)
        return QStringLiteral("%1 flyer(s) imported, %2 not imported.").arg(m_imported).arg(m_failed);
    return kImportDoneStatus;
}

bool DosImport::importFlyer(const FlyerRecord& record, int clubId, ImportQueries& queries)
{
    Fetched<int> flyer;
    m_database.step([&]() {
        flyer = m_data.addImportedFlyer(clubId, record.name, record.longitude, record.latitude);
        return flyer.status;
    });
    if (!flyer.ok()) {
        flyerFailed(record, flyer.status.description);
        return false;
    }
    m_batchFlyers << m_current;
    if (!record.birdFileNameValid()) {
        inform(QStringLiteral("Unusable pigeon inventory file name ") + record.birdFileName() +
               QStringLiteral(" for ") + record.name);
        return true;
    }

    const QString birdPath = findFileIgnoringCase(QFileInfo(m_path).absolutePath(), record.birdFileName());
    const DosReadResult read =
        birdPath.isEmpty() ? DosReadResult{DosReadResult::Error::NotFound, {}, {}} : readDosFile(birdPath);
    if (!read.ok()) {
        noInventoryFile(record);
        return true;
    }

    for (const QString& birdRecord : parseBirdFile(read.bytes)) {
        const QString band = Mid(birdRecord, 1, 14).toUpper();
        if (const auto problem = bird::numberProblem(Mid(birdRecord, 9, 6))) {
            inform(*problem + QLatin1Char(' ') + band + QStringLiteral(" not imported for ") + record.name);
            continue;
        }
        std::optional<bool> taken;
        const DbResult stored = m_database.step([&]() {
            taken = queries.bandExists(band);
            if (taken && !*taken && !queries.addBird(birdFromRecord(birdRecord, flyer.value)))
                taken.reset();
            return taken ? DbResult{} : DbResult::failure(DbError::General, queries.lastError());
        });
        if (!stored.ok()) {
            flyerFailed(record, stored.description);
            return false;
        }
        if (*taken)
            inform(QStringLiteral("Duplicate band number ") + band + QStringLiteral("not allowed for ") +
                   record.name);
    }
    return true;
}

QString saveConfigurationOfFile(const QString& fileName, ConfigValues& values, SettingsStore& store,
                                Dialogs& dialogs)
{
    values.concourse = concourseOfFileName(fileName);
    values.combine = combineOfFileName(fileName);
    return SaveSettings(store, dialogs, values);
}
