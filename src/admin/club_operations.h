#pragma once

#include "admin/admin_data.h"
#include "platform/dialogs.h"

#include <functional>

// The outcome of one change to the administration data asked for by a window or a CLI command: stored,
// refused with the box the user must see, or failed in the database.
struct AdminOutcome {
    enum class Status { Done, Refused, Failed };
    Status status = Status::Done;
    Dialogs::Box box;   // Refused: the validation message as the window shows it
    DbResult db;        // Failed
    qint64 newKey = 0;  // Done: the new ClubID, FlyerID or row
    bool stale = false; // Refused because the row the window shows was erased meanwhile: it must refresh

    bool done() const { return status == Status::Done; }
    static AdminOutcome stored(qint64 key = 0) { return {Status::Done, {}, {}, key}; }
    static AdminOutcome refused(const QString& text, const QString& title = {},
                                Dialogs::Icon icon = Dialogs::Icon::None)
    {
        return {Status::Refused, {text, title, Dialogs::Buttons::Ok, icon, {}}, {}, 0};
    }
    static AdminOutcome failed(const DbResult& result) { return {Status::Failed, {}, result, 0}; }
    // what: "flyer Smith", "liberation point Abilene" ...
    static AdminOutcome gone(const QString& what)
    {
        AdminOutcome outcome =
            refused(QStringLiteral("The ") + what +
                    QStringLiteral(" no longer exists. Close this window and open it again."));
        outcome.stale = true;
        return outcome;
    }
    // A change of one held row: the row missing means another window erased it.
    static AdminOutcome changed(const DbResult& result, qint64 key, const QString& what)
    {
        if (result.code == DbError::NoCurrentRecord)
            return gone(what);
        return result.ok() ? stored(key) : failed(result);
    }
};

// Runs work as one transaction holding key (other PCs taking the same key wait): a test followed by a
// store cannot interleave with another PC's. Rolled back unless work stored.
AdminOutcome withKeyHeld(const AdminData& data, const QString& key,
                         const std::function<AdminOutcome()>& work);

namespace club {

// Stores a new club under the cleaned name.
AdminOutcome add(const AdminData& data, QString name);
AdminOutcome rename(const AdminData& data, int clubId, QString name);

} // namespace club
