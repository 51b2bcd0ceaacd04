#include "platform/home.h"

#include <QDir>
#include <QStandardPaths>

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
