#include "platform/home.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <fcntl.h>
#include <unistd.h>

Home Home::under(const QString& folder)
{
    const QDir dir(QDir(folder).absolutePath());
    return {dir.filePath(QStringLiteral("Corvex.conf")),
            dir.absolutePath(),
            dir.filePath(QStringLiteral("CVX")),
            {}};
}

Home Home::resolve(const QString& explicitHome)
{
    if (!explicitHome.isEmpty())
        return under(explicitHome);
    const QString fromEnvironment = qEnvironmentVariable("CORVEX_HOME");
    if (!fromEnvironment.isEmpty())
        return under(fromEnvironment);
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return {QDir(config).filePath(QStringLiteral("Corvex/Corvex.conf")),
            QDir(data).filePath(QStringLiteral("Corvex")),
            QDir(QDir::homePath()).filePath(QStringLiteral("CVX")),
            {}};
}

bool MakePrivateFolder(const QString& folder)
{
    const QString absolute = QDir(folder).absolutePath();
    if (QFileInfo(absolute).isDir())
        return true;
    const QString parent = QFileInfo(absolute).absolutePath();
    if (parent != absolute && !MakePrivateFolder(parent))
        return false;
    return QDir().mkdir(absolute, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner) ||
           QFileInfo(absolute).isDir();
}

bool CreatePrivateFile(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}
