// The error codes results and replies carry, shared by every subsystem. A
// failed operation carries one of these beside its text; success carries 0.
#pragma once

#include <cstdint>

constexpr int32_t kErrMissingInput = -2;      // missing or empty input
constexpr int32_t kErrNotFound = -3;          // no matching row (database code 100)
constexpr int32_t kErrDatabase = -4;          // database access failed
constexpr int32_t kErrNoMemory = -5;          // out of memory
constexpr int32_t kErrInvalidId = -6;         // invalid id or value
constexpr int32_t kErrNoTransaction = -7;     // the database transaction did not start
constexpr int32_t kErrLockTimedOut = -8;      // table lock not granted within the time-out
constexpr int32_t kErrInvalidLockId = -9;     // invalid table lock id
constexpr int32_t kErrNotAccessible = -10;    // lock mutex not created; temporary file not accessible
constexpr int32_t kErrInUse = -11;            // already reserved, allocated, mounted or still in use
constexpr int32_t kErrAlreadyExists = -12;    // already exists, or an identity that conflicts
constexpr int32_t kErrNotUnique = -13;        // more than one row where one is required, or a duplicate
constexpr int32_t kErrInternal = -14;         // internal error
constexpr int32_t kErrController = -15;       // device controller activation failed
constexpr int32_t kErrNestedCall = -16;       // a nested operation failed
constexpr int32_t kErrLookupFailed = -17;     // client, property, subclient or replication-set lookup failed
constexpr int32_t kErrTooLong = -18;          // a text longer than its column
constexpr int32_t kErrEmpty = -19;            // empty stored file or missing scratch record
constexpr int32_t kErrClientOperation = -20;  // client-side volume operation failed
constexpr int32_t kErrShadowSetFormat = -21;  // unrecognised shadow set id format
constexpr int32_t kErrStillNeeded = -23;      // consistency point still needed by older snapshots
constexpr int32_t kErrHostRelease = -24;      // releasing a resource on the host failed
constexpr int32_t kErrPoolInUse = -27;        // scratch pool still used by a policy
