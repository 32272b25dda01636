// The array of a reply built from a result's records: owned until the reply
// is sent, its count 0 whenever the array is null. Internal to scratch/.
#pragma once

#include <cstdint>
#include <vector>

#include "service/Utils.h"

namespace scratch_detail {

// False when the array cannot be allocated; the reply's fields are then
// left as they were.
template <typename Wire, typename Record>
bool SetReplyArray(Wire*& array, uint32_t& count, const std::vector<Record>& records, AutoFreeMem_t& owner)
{
    Wire* wires = nullptr;
    if (!CopyVectorToMsg(&wires, records)) return false;
    owner = wires;
    array = wires;
    count = wires != nullptr ? static_cast<uint32_t>(records.size()) : 0;
    return true;
}

}  // namespace scratch_detail
