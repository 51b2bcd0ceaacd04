#pragma once

#include "admin/bird_rules.h"
#include "admin/club_operations.h"

namespace bird {

// Stores a new bird of the flyer (no electronic ring, type "0"); a band any flyer already has is refused,
// and so is a flyer that another window has erased (a stale outcome). keptYear is a year the fields took
// over from a stored bird rather than had typed; it is not checked again.
AdminOutcome add(const AdminData& data, const Flyer& owner, const BirdFields& fields,
                 const QString& keptYear = {});
// Stores the bird anew from the fields, keeping its electronic ring, with type "1"; a band another bird
// already has is refused and both birds stay as they were; a bird erased meanwhile is a stale outcome. Its
// stored year is not checked again.
AdminOutcome edit(const AdminData& data, const Bird& stored, const BirdFields& fields);
// Deletes, for each band, the first bird of this flyer with it; birds of other flyers are never touched.
// newKey holds the number of birds deleted.
AdminOutcome deleteBands(const AdminData& data, int flyerId, const QStringList& bands);

BirdFields fieldsFromRow(const Bird& row);

} // namespace bird
