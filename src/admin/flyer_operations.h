#pragma once

#include "admin/club_operations.h"
#include "admin/flyer_rules.h"

namespace flyer {

Flyer rowFromFields(const FlyerFields& fields);
FlyerFields fieldsFromRow(const Flyer& row);

// Stores a new flyer; a name already stored is refused. The name is cleaned first.
AdminOutcome add(const AdminData& data, FlyerFields fields);
// Rewrites the flyer; renaming to another flyer's name is allowed. A flyer erased meanwhile is stale.
AdminOutcome edit(const AdminData& data, int flyerId, FlyerFields fields);
// Deletes the flyer's birds and the flyer in one transaction; newKey holds the rows removed (none when
// another window erased it already).
AdminOutcome erase(const AdminData& data, int flyerId);

// The key that storing a bird for the flyer and erasing the flyer both hold.
QString flyerKeyOf(int flyerId);

} // namespace flyer
