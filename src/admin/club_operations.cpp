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
    NoClubEntry = false;
    return AdminOutcome::stored(added.value);
}

AdminOutcome rename(const AdminData& data, int clubId, QString name)
{
    if (auto problem = nameProblem(name))
        return *problem;
    const DbResult result = data.renameClub(clubId, name);
    return result.ok() ? AdminOutcome::stored(clubId) : AdminOutcome::failed(result);
}

} // namespace club
