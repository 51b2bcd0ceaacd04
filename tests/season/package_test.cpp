// The Debian package made from this build: unpacked into an empty folder, its programs run from there.
#include "season_support.h"

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
    const QString packages = QDir(work.path()).filePath("packages");
    const ProcessRun cpack =
        run("cpack", {"--config", QDir(build).filePath("CPackConfig.cmake"), "-G", "DEB", "-B", packages});
    ASSERT_EQ(cpack.exitCode, 0) << cpack.out.toStdString();
    const QStringList debs = QDir(packages).entryList({"corvex_*.deb"}, QDir::Files);
    ASSERT_EQ(debs.size(), 1) << cpack.out.toStdString();
    const QString deb = QDir(packages).filePath(debs.first());

    const QString root = QDir(work.path()).filePath("root");
    ASSERT_EQ(run("dpkg-deb", {"-x", deb, root}).exitCode, 0);
    const QDir usr(QDir(root).filePath("usr"));
    for (const char* file :
         {"bin/corvex", "bin/corvex-cli", "bin/corvex-cli-full", "bin/corvex-clocksim",
          "share/corvex/help/index.html", "share/corvex/help/images/main_window.png",
          "share/applications/corvex.desktop", "share/icons/hicolor/scalable/apps/corvex.svg"})
        EXPECT_TRUE(QFileInfo::exists(usr.filePath(QString::fromLatin1(file)))) << file;
    // Every picture the guide shows is in the package.
    const QString guide = QString::fromUtf8(season::readAll(usr.filePath("share/corvex/help/index.html")));
    QRegularExpressionMatchIterator images =
        QRegularExpression(QStringLiteral("src=\"([^\"]+)\"")).globalMatch(guide);
    int pictures = 0;
    while (images.hasNext()) {
        const QString image = images.next().captured(1);
        ++pictures;
        EXPECT_TRUE(QFileInfo::exists(usr.filePath("share/corvex/help/" + image))) << image.toStdString();
    }
    EXPECT_GE(pictures, 10);

    EXPECT_TRUE(
        season::readAll(usr.filePath("share/applications/corvex.desktop")).contains("\nExec=corvex\n"));
    const ProcessRun depends = run("dpkg-deb", {"-f", deb, "Depends"});
    for (const char* library :
         {"libqt6widgets6", "libqt6serialport6", "libqt6sql6-sqlite", "qt6-qpa-plugins"})
        EXPECT_TRUE(depends.out.contains(QString::fromLatin1(library)))
            << library << " in " << depends.out.toStdString();

    // The unpacked programs run from there: a race report printed to PDF (corvex-cli hands printing to
    // corvex-cli-full).
    const QString raceFile = QDir(work.path()).filePath("00120307.045");
    QFile file(raceFile);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("0012030704500012345061325200000061425200000061425200003"
               "01 06/14 DIXON   01\r\nUS24ROCK00120101305170614\r\n");
    file.close();
    const QString pdf = QDir(work.path()).filePath("race.pdf");
    const ProcessRun report =
        run(usr.filePath("bin/corvex-cli"),
            {"--home", QDir(work.path()).filePath("home"), "report", raceFile, "--pdf", pdf}, 60000);
    EXPECT_EQ(report.exitCode, 0) << report.out.toStdString();
    EXPECT_TRUE(season::readAll(pdf).startsWith("%PDF-")) << report.out.toStdString();
}
} // namespace
