#include "shell/demo.h"

#include "admin/admin_data.h"
#include "database/database.h"
#include "platform/home.h"
#include "settings/configuration.h"
#include "settings/settings_store.h"
#include "shell/database_glue.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <tuple>

DemoSession::DemoSession() = default;

DemoSession::~DemoSession()
{
    stopClock();
}

QString clocksimBesideProgram()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("corvex-clocksim"));
}

QString DemoSession::defaultHome()
{
    const QString fromEnvironment = qEnvironmentVariable("CORVEX_DEMO_HOME");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(QStringLiteral("Corvex-demo"));
}

bool DemoSession::startClock(const QString& clocksimPath)
{
    if (!QFileInfo(clocksimPath).isExecutable()) {
        m_error = QStringLiteral("The stand-in clock %1 was not found.").arg(clocksimPath);
        return false;
    }
    m_clock.setProgram(clocksimPath);
    m_clock.setArguments({QStringLiteral("--demo")});
    m_clock.setProcessChannelMode(QProcess::SeparateChannels);
    m_clock.setStandardErrorFile(QProcess::nullDevice());
    m_clock.start();
    if (!m_clock.waitForStarted(5000)) {
        m_error = QStringLiteral("The stand-in clock cannot be started: %1").arg(m_clock.errorString());
        return false;
    }
    // The clock prints its device path when the pseudo-terminal is ready.
    static const QRegularExpression devicePattern(QStringLiteral("(/dev/\\S+)"));
    QByteArray output;
    const QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired()) {
        if (m_clock.canReadLine() || m_clock.waitForReadyRead(static_cast<int>(deadline.remainingTime()))) {
            while (m_clock.canReadLine()) {
                const QString line = QString::fromUtf8(m_clock.readLine()).trimmed();
                const auto match = devicePattern.match(line);
                if (match.hasMatch()) {
                    m_device = match.captured(1);
                    return true;
                }
            }
        } else if (m_clock.state() != QProcess::Running) {
            break;
        }
    }
    m_error = QStringLiteral("The stand-in clock did not report its device.");
    stopClock();
    return false;
}

void DemoSession::stopClock()
{
    if (m_clock.state() == QProcess::NotRunning)
        return;
    m_clock.terminate();
    if (!m_clock.waitForFinished(2000)) {
        m_clock.kill();
        m_clock.waitForFinished(2000);
    }
}

namespace {
struct SampleBird {
    const char* org;
    const char* hatch;
    const char* letters;
    const char* number;
    const char* sex;
    const char* ring;
    const char* colour;
};

// The stand-in clock's demo module belongs to flyer 45 of club 7 (its S2, S3 and race records).
constexpr int kModuleClub = 7;
constexpr int kModuleFlyer = 45;

DbResult addSamples(Database& database)
{
    AdminData data(database);
    // The first flyer owns the inventory and the races of the stand-in clock's demo module, under the
    // module's club and flyer numbers, so that its race reports, transfers and WinSpeed export find him.
    auto club1 = data.addClub(QStringLiteral("Rockford Racing"));
    if (!club1.ok())
        return club1.status;
    if (const DbResult moved = data.renumberClub(club1.value, kModuleClub); !moved.ok())
        return moved;
    club1.value = kModuleClub;
    const auto club2 = data.addClub(QStringLiteral("Hilltop Flyers"));
    if (!club2.ok())
        return club2.status;

    struct SampleFlyer {
        int clubId;
        Flyer flyer;
        std::vector<SampleBird> birds;
    };
    const std::vector<SampleFlyer> flyers = {
        {club1.value,
         {0, 0, QStringLiteral("John Miller"), QStringLiteral("12 Mill Lane"),
          QStringLiteral("Rockford IL 61101"), QStringLiteral("jmiller@example.org"),
          QStringLiteral("815-555-0142"), QStringLiteral("0890538"), QStringLiteral("421614")},
         {{"US", "24", "ROCK", "001201", "C", "00A1B2C3D4", "BB"},
          {"US", "24", "ROCK", "001202", "H", "00A1B2C3D5", "BC"},
          {"US", "24", "ROCK", "001203", "C", "00A1B2C3D6", "RC"},
          {"US", "23", "ROCK", "000877", "H", "00A1B2C3D7", "BBWF"},
          {"US", "23", "ROCK", "000878", "C", "0000000000", "SIL"}}},
        {club1.value,
         {0, 0, QStringLiteral("Maria Lopez"), QStringLiteral("4 Orchard Road"),
          QStringLiteral("Rockford IL 61104"), QStringLiteral(""), QStringLiteral("815-555-0188"),
          QStringLiteral("0890412"), QStringLiteral("421502")},
         {{"US", "25", "ROCK", "000904", "C", "4A00220002", "SIL"}}},
        {club2.value,
         {0, 0, QStringLiteral("Peter Novak"), QStringLiteral("77 Ridge Street"),
          QStringLiteral("Hilltop OH 43004"), QStringLiteral(""), QStringLiteral(""),
          QStringLiteral("0825530"), QStringLiteral("400114")},
         {{"AU", "24", "HILL", "010101", "C", "4A00330001", "DC"},
          {"AU", "24", "HILL", "010102", "C", "4A00330002", "BB"},
          {"AU", "25", "HILL", "000007", "H", "4A00330003", "RC"}}},
    };
    for (const SampleFlyer& sample : flyers) {
        Flyer flyer = sample.flyer;
        flyer.ClubID = sample.clubId;
        auto added = data.addFlyer(flyer);
        if (!added.ok())
            return added.status;
        if (&sample == &flyers.front()) {
            const DbResult moved = data.renumberFlyer(added.value, kModuleFlyer);
            if (!moved.ok())
                return moved;
            added.value = kModuleFlyer;
        }
        for (const SampleBird& b : sample.birds) {
            Bird bird;
            bird.BirdFlyerID = added.value;
            bird.NatOrg = QString::fromLatin1(b.org);
            bird.HatchYr = QString::fromLatin1(b.hatch);
            bird.clubletters = QString::fromLatin1(b.letters);
            bird.bnumber = QString::fromLatin1(b.number);
            bird.sex = QString::fromLatin1(b.sex);
            bird.elecnumber = QString::fromLatin1(b.ring);
            bird.color = QString::fromLatin1(b.colour);
            bird.type = QStringLiteral("0");
            const auto stored = data.addBird(bird);
            if (!stored.ok())
                return stored.status;
        }
    }
    // The season's points as the demo module holds them, where the towns are and liberated so that the
    // module's first clockings fly at 1,250 to 1,400 yards per minute.
    for (const auto& [number, date, name, latitude, longitude, time] :
         {std::tuple{"01", "0614", "DIXON", "415020", "0892845", "13:45:00"},
          std::tuple{"02", "0621", "MENDOTA", "413250", "0890703", "14:00:00"}}) {
        LiberationPoint point;
        point.racenum = QString::fromLatin1(number);
        point.racedate = QString::fromLatin1(date);
        point.racename = QString::fromLatin1(name);
        point.racetype = QStringLiteral("1");
        point.latitude = QString::fromLatin1(latitude);
        point.longitude = QString::fromLatin1(longitude);
        point.liberationTime = QString::fromLatin1(time);
        if (const DbResult stored = data.addLiberationPoint(point).status; !stored.ok())
            return stored;
    }
    return {};
}
} // namespace

bool DemoSession::prepareHome(const QString& folder)
{
    if (!MakePrivateFolder(folder)) {
        m_error = QStringLiteral("The demo folder %1 cannot be created.").arg(folder);
        return false;
    }
    const Home home = Home::under(folder);
    const QString path = InitDatabasePath(home);
    if (QFileInfo::exists(path))
        return true;
    Database database;
    DbResult result = database.open(path, true);
    if (result.ok())
        result = addSamples(database);
    database.close();
    if (!result.ok()) {
        QFile::remove(path);
        m_error = QStringLiteral("The demo database cannot be made: %1").arg(result.description);
        return false;
    }
    SettingsStore settings(home.settingsFile);
    settings.write(kDatabaseRecordKey, QFileInfo(path).fileName());
    settings.write(config_keys::CombineName, storedCombineName(QStringLiteral("Demo Combine")));
    return true;
}
