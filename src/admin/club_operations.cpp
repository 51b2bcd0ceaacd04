#include "admin/club_operations.h"

#include "admin/clean_text.h"
#include "admin/club_rules.h"

namespace club {

namespace {
std::optional<AdminOutcome> nameProblem(QString& name)
{
    name = CleanText(name);
    if (name.isEmpty())
        return AdminOutcome::refused(kMustEnterName, kErrorTitle, Dialogs::Icon::Critical);
    return std::nullopt;
}
} // namespace

AdminOutcome add(const AdminData& data, QString name)
{
    if (auto problem = nameProblem(name))
        return *problem;
    const auto added = data.addClub(name);
    if (!added.ok())
        return AdminOutcome::failed(added.status);
    return AdminOutcome::stored(added.value);
}

AdminOutcome rename(const AdminData& data, int clubId, QString name)
{
    if (auto problem = nameProblem(name))
        return *problem;
    return AdminOutcome::changed(data.renameClub(clubId, name), clubId, QStringLiteral("club ") + name);
}

} // namespace club

AdminOutcome withKeyHeld(const AdminData& data, const QString& key, const std::function<AdminOutcome()>& work)
{
    Database& database = data.database();
    DbResult status = database.begin();
    if (status.ok())
        status = database.lockKey(key);
    if (!status.ok()) {
        database.rollback();
        return AdminOutcome::failed(status);
    }
    const AdminOutcome outcome = work();
    if (!outcome.done()) {
        database.rollback();
        return outcome;
    }
    status = database.commit();
    return status.ok() ? outcome : AdminOutcome::failed(status);
}
