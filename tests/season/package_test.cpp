// The Debian package made from this build: unpacked into an empty folder, its programs run from there.
#include "support/database_builder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
struct ProcessRun {
    int exitCode = -1;
    QString out;
};

ProcessRun run(const QString& program, const QStringList& arguments, int timeoutMs = 180000)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    ProcessRun result;
    if (process.waitForFinished(timeoutMs) && process.exitStatus() == QProcess::NormalExit)
        result.exitCode = process.exitCode();
    result.out = QString::fromUtf8(process.readAll());
    return result;
}

QString readText(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

TEST(Package, UnpacksWithProgramsGuideDesktopEntryAndQtDependencies)
{
    const QString build = QFileInfo(QStringLiteral(CORVEX_CLI_PATH)).absolutePath();
    for (const char* tool : {"cpack", "dpkg-deb", "dpkg-shlibdeps"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            GTEST_SKIP() << tool << " is not installed";
    }
    if (!QFile::exists(QStringLiteral(CORVEX_APP_PATH)) ||
        !QFile::exists(QStringLiteral(CORVEX_CLOCKSIM_PATH)))
        GTEST_SKIP() << "the programs of this build are not all built";

    QTemporaryDir work;
    ASSERT_TRUE(work.isValid());
    const QString packages = QDir(work.path()).filePath(QStringLiteral("packages"));
    const ProcessRun cpack =
        run(QStringLiteral("cpack"),
            {QStringLiteral("--config"), QDir(build).filePath(QStringLiteral("CPackConfig.cmake")),
             QStringLiteral("-G"), QStringLiteral("DEB"), QStringLiteral("-B"), packages});
    ASSERT_EQ(cpack.exitCode, 0) << cpack.out.toStdString();
    const QStringList debs = QDir(packages).entryList({QStringLiteral("corvex_*.deb")}, QDir::Files);
    ASSERT_EQ(debs.size(), 1) << cpack.out.toStdString();
    const QString deb = QDir(packages).filePath(debs.first());

    const QString root = QDir(work.path()).filePath(QStringLiteral("root"));
    ASSERT_EQ(run(QStringLiteral("dpkg-deb"), {QStringLiteral("-x"), deb, root}).exitCode, 0);
    const QDir usr(QDir(root).filePath(QStringLiteral("usr")));
    for (const char* file :
         {"bin/corvex", "bin/corvex-cli", "bin/corvex-cli-full", "bin/corvex-clocksim",
          "share/corvex/help/index.html", "share/corvex/help/images/main_window.png",
          "share/applications/corvex.desktop", "share/icons/hicolor/scalable/apps/corvex.svg"})
        EXPECT_TRUE(QFileInfo::exists(usr.filePath(QString::fromLatin1(file)))) << file;
    // Every picture the guide shows is in the package.
    const QString guide = readText(usr.filePath(QStringLiteral("share/corvex/help/index.html")));
    QRegularExpressionMatchIterator images =
        QRegularExpression(QStringLiteral("src=\"([^\"]+)\"")).globalMatch(guide);
    int pictures = 0;
    while (images.hasNext()) {
        const QString image = images.next().captured(1);
        ++pictures;
        EXPECT_TRUE(QFileInfo::exists(usr.filePath(QStringLiteral("share/corvex/help/") + image)))
            << image.toStdString();
    }
    EXPECT_GE(pictures, 10);

    const QString desktop = readText(usr.filePath(QStringLiteral("share/applications/corvex.desktop")));
    EXPECT_TRUE(desktop.contains(QStringLiteral("\nExec=corvex\n")));
    EXPECT_TRUE(desktop.contains(QStringLiteral("\nIcon=corvex\n")));

    const ProcessRun depends =
        run(QStringLiteral("dpkg-deb"), {QStringLiteral("-f"), deb, QStringLiteral("Depends")});
    for (const char* library :
         {"libqt6widgets6", "libqt6serialport6", "libqt6sql6-sqlite", "qt6-qpa-plugins"})
        EXPECT_TRUE(depends.out.contains(QString::fromLatin1(library)))
            << library << " in " << depends.out.toStdString();

    // The unpacked programs run from there.
    const ProcessRun help =
        run(usr.filePath(QStringLiteral("bin/corvex-cli")), {QStringLiteral("--help")}, 30000);
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith(QStringLiteral("Usage: corvex-cli"))) << help.out.toStdString();
    // A race report printed to PDF by the unpacked programs (corvex-cli hands printing to corvex-cli-full).
    const QString raceFile = QDir(work.path()).filePath(QStringLiteral("00120307.045"));
    {
        QFile file(raceFile);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("0012030704500012345061325200000061425200000061425200003"
                   "01 06/14 DIXON   01\r\n"
                   "US24ROCK00120101305170614\r\n");
    }
    const QString pdf = QDir(work.path()).filePath(QStringLiteral("race.pdf"));
    const ProcessRun report =
        run(usr.filePath(QStringLiteral("bin/corvex-cli")),
            {QStringLiteral("--home"), QDir(work.path()).filePath(QStringLiteral("home")),
             QStringLiteral("report"), raceFile, QStringLiteral("--pdf"), pdf},
            60000);
    EXPECT_EQ(report.exitCode, 0) << report.out.toStdString();
    QFile printed(pdf);
    EXPECT_TRUE(printed.open(QIODevice::ReadOnly) && printed.read(5) == "%PDF-") << report.out.toStdString();

    const ProcessRun sim =
        run(usr.filePath(QStringLiteral("bin/corvex-clocksim")), {QStringLiteral("--help")}, 30000);
    EXPECT_EQ(sim.exitCode, 0);
    EXPECT_TRUE(sim.out.contains(QStringLiteral("--fly-after-liberations")));
}
} // namespace
