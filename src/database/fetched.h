#pragma once

#include "database/database.h"

// Rows or a value read from the database, with how the reading went.
template <typename T> struct Fetched {
    T value{};
    DbResult status;

    bool ok() const { return status.ok(); }
};
