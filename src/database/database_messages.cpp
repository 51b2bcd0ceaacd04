#include "database/database_messages.h"

#include "database/engine.h"
#include "database/schema.h"
#include "platform/dialogs.h"

#include <QDir>
#include <QFileInfo>

namespace {
const QString kCrLf = QStringLiteral("\r\n");
}

QString databaseErrorText(int code, const QString& dataFolder)
{
    QString text = QStringLiteral("The file '") + kDatabaseFileName + QStringLiteral("' is not accessable!") +
                   kCrLf + kCrLf;
    switch (code) {
    case DbError::FileNotFound:
        text += QStringLiteral("Make sure that '") + kDatabaseFileName + QStringLiteral("' is in the") +
                kCrLf + QStringLiteral("'") + QDir::toNativeSeparators(dataFolder) + QStringLiteral("'") +
                kCrLf + QStringLiteral("folder ") + kCrLf;
        break;
    case DbError::NotOurDatabase:
        text += QStringLiteral("An incorrect version of the database is detected") + kCrLf;
        break;
    case DbError::ReadOnly:
        text += QStringLiteral("Make sure the Read Only Property is NOT checked") + kCrLf;
        break;
    case DbError::Damaged:
        text +=
            kDatabaseDamagedText + kCrLf +
            QStringLiteral("Choose Repair Database in the Options menu: it saves what can still be read") +
            kCrLf + QStringLiteral("and keeps the damaged file beside the repaired one.") + kCrLf;
        break;
    case DbError::InUse:
        text += kDatabaseInUseText + kCrLf;
        break;
    default:
        text += QStringLiteral("Reason unknown ! Error # ") + QString::number(code) + kCrLf +
                QStringLiteral("Call Halvard Electronics to report this error");
        break;
    }
    return text + kCrLf + QStringLiteral("Functions that access the DataBase are disabled!!!");
}

QString databaseErrorText(const DbResult& result, const QString& databasePath)
{
    const DatabaseEngine& engine = engineFor(databasePath);
    if (!engine.isServer())
        return databaseErrorText(result.code, QFileInfo(databasePath).absolutePath());
    return QStringLiteral("The database server '") + engine.displayName(databasePath) +
           QStringLiteral("' is not accessable!") + kCrLf + kCrLf + result.description + kCrLf + kCrLf +
           QStringLiteral("Functions that access the DataBase are disabled!!!");
}

void ShowDatabaseError(Dialogs& dialogs, const DbResult& result, const QString& databasePath)
{
    dialogs.message({databaseErrorText(result, databasePath),
                     kDatabaseUnavailableTitle,
                     Dialogs::Buttons::Ok,
                     Dialogs::Icon::Critical,
                     {}});
}

QString ErrorReport::next(const QString& description, int number)
{
    ++m_count;
    return description + QStringLiteral(" #:") + QString::number(number) + QStringLiteral(".") +
           QString::number(m_count) + kCrLf +
           QStringLiteral("Please notify Halvard Electronics USA of this ERROR");
}

void ErrorReport::show(Dialogs& dialogs, const DbResult& result)
{
    // Held by another connection for longer than the busy timeout: no fault to report.
    if (result.code == DbError::InUse)
        dialogs.inform(kDatabaseInUseText);
    else
        dialogs.inform(next(result));
}
