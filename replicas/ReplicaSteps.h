// Shared pieces of the replication volume operations. Internal to replicas/.
#pragma once

#include <string>

#include "replicas/ReplicaRecords.h"

namespace replica_detail {

// "Field <label> is not valid": a record field the row conversion refused.
inline std::string FieldNotValid(int bit)
{
    return std::string("Field ") + GetYBVolumeFieldName(bit) + " is not valid";
}

}  // namespace replica_detail
