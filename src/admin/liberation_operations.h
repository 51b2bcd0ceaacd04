#pragma once

#include "admin/club_operations.h"
#include "admin/liberation_rules.h"

namespace liberation {

struct PointFields {
    QString number, month, day, name, type;
    QString latitude{}, longitude{}, time{}, night{}; // may stay empty
};

// The row stored for typed fields: race number and date parts zero-filled to two digits, the position, time
// and night without surrounding spaces.
LiberationPoint rowFromFields(const PointFields& fields);

// Stores a new point while the table has room for it; a full table is refused with a message.
AdminOutcome add(const AdminData& data, const PointFields& fields);
AdminOutcome edit(const AdminData& data, qint64 rowId, const PointFields& fields);

} // namespace liberation
