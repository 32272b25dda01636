// A reply's array built from a result's records and owned until the reply
// is sent.
#pragma once

#include <vector>

#include "service/Utils.h"

namespace steps {

// Builds a reply's array from the records and hands it to its owner, which
// frees it after the send; the count is that of the array, 0 when there is
// none. False when the array cannot be allocated.
template <typename Wire, typename Count, typename Record>
bool CopyListToReply(AutoFreeMem_t& owner, Wire*& array, Count& count, const std::vector<Record>& records)
{
    Wire* built = nullptr;
    if (!CopyVectorToMsg(&built, records)) return false;
    owner = built;
    array = built;
    count = built != nullptr ? static_cast<Count>(records.size()) : 0;
    return true;
}

}  // namespace steps
