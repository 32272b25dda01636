// The texts of reply entries (application directories, the latest replica's
// SNR volume): copied for the reply, freed with their entries after the send.
// Internal to replicas/.
#pragma once

#include <cstdlib>
#include <cstring>

#include "service/Utils.h"

namespace replica_detail {

// A copy of a text for a reply entry; null for an empty one. False when a
// non-empty text cannot be copied.
inline bool CopyEntryText(char*& out, const char* text)
{
    out = nullptr;
    if (text == nullptr || text[0] == '\0') return true;
    const size_t n = strlen(text) + 1;
    out = static_cast<char*>(AllocReplyArray(n));
    if (out == nullptr) return false;
    memcpy(out, text, n);
    return true;
}

// Frees the two texts of the first `count` entries and the entry array.
template <typename Entry, typename Count>
void FreeEntries(Entry* entries, Count count)
{
    for (Count i = 0; entries != nullptr && i < count; ++i) {
        free(entries[i].objName);
        free(entries[i].path);
    }
    free(entries);
}

}  // namespace replica_detail
