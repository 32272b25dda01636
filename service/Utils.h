// Memory, string and client-name utilities shared by every subsystem.
#pragma once

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

// Shared texts.
extern const char* const NoMemoryErrMsg;   // "No memory available to perform operation"
extern const char* const DBTranErrorMsg;   // "Could not initiated database transactions"

// Owner of one malloc'ed block, freed when the owner goes out of scope.
// Assigning stores the new pointer without freeing the one held before.
class AutoFreeMem_t {
public:
    AutoFreeMem_t() = default;
    AutoFreeMem_t(const AutoFreeMem_t&) = delete;
    AutoFreeMem_t& operator=(const AutoFreeMem_t&) = delete;
    ~AutoFreeMem_t() { free(m_pMem); }

    void* operator=(void* mem) {
        m_pMem = mem;
        return m_pMem;
    }
    void* get() const { return m_pMem; }

private:
    void* m_pMem = nullptr;
};

// Allocation of reply arrays and of the texts they own: malloc unless a test
// has put another allocator in place to reach the no-memory answers. What it
// returns is released with free.
using ReplyArrayAllocator = void* (*)(size_t bytes);
extern ReplyArrayAllocator AllocReplyArray;

// Copies 32-bit integers into a new reply array; an empty vector gives no
// array and true; false when the array cannot be allocated.
bool CopyVectorToMsg(int** out, const std::vector<int>& values);

// Converts records into a new array of wire records, in order, with the
// YBSet conversion of the pair. An empty vector gives no array and true;
// false when the array cannot be allocated. Text pointers of the array point
// into the records, which must outlive the send of the reply.
template <typename Wire, typename Record>
bool CopyVectorToMsg(Wire** out, const std::vector<Record>& records) {
    *out = nullptr;
    if (records.empty()) return true;
    Wire* array = static_cast<Wire*>(AllocReplyArray(sizeof(Wire) * records.size()));
    if (array == nullptr) return false;
    memset(static_cast<void*>(array), 0, sizeof(Wire) * records.size());
    for (unsigned int i = 0; i < records.size(); ++i) {
        YBSet(array[i], records[i]);
    }
    *out = array;
    return true;
}

int _stricmp(const char* a, const char* b);

class FXString {
public:
    FXString() = delete;
    static int CompareNoCase(const std::string& a, const std::string& b);
    static int CompareNoCase(const char* a, const char* b);
    static std::string ToString(const std::string& s);
};

int ET_snprintf(char* buffer, int size, const char* format, ...) __attribute__((format(printf, 3, 4)));
