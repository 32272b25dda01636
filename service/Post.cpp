#include <array>
#include <mutex>

#include "service/CaseRegistry.h"
#include "service/DispatchTable.h"
#include "service/ReplicationMgr.h"

namespace {

const char* const ProgName = "ReplicationMgr";

struct Slots {
    std::mutex mutex;
    std::array<CaseFn, kDispatchSlots> cases{};
};

Slots& theSlots() {
    static Slots slots;
    return slots;
}

}  // namespace

bool CaseRegistry::bind(unsigned long code, CaseFn fn) {
    const DispatchEntry* entry = FindDispatchEntry(code);
    if (entry == nullptr || fn == nullptr) return false;
    Slots& slots = theSlots();
    std::lock_guard<std::mutex> guard(slots.mutex);
    CaseFn& slot = slots.cases[code - kFirstRequestCode];
    if (slot != nullptr) return false;
    slot = fn;
    return true;
}

void CaseRegistry::unbind(unsigned long code) {
    if (code - kFirstRequestCode >= kDispatchSlots) return;
    Slots& slots = theSlots();
    std::lock_guard<std::mutex> guard(slots.mutex);
    slots.cases[code - kFirstRequestCode] = nullptr;
}

CaseFn CaseRegistry::find(unsigned long code) {
    if (code - kFirstRequestCode >= kDispatchSlots) return nullptr;
    Slots& slots = theSlots();
    std::lock_guard<std::mutex> guard(slots.mutex);
    return slots.cases[code - kFirstRequestCode];
}

std::vector<unsigned long> CaseRegistry::unboundCodes() {
    std::vector<unsigned long> codes;
    for (unsigned long i = 0; i < kDispatchSlots; ++i) {
        unsigned long code = kFirstRequestCode + i;
        if (FindDispatchEntry(code) != nullptr && find(code) == nullptr) codes.push_back(code);
    }
    return codes;
}

unsigned long ReplicationMgr::post(unsigned long code, unsigned long, zxsDatabuf* buf) {
    if (m_poSession == nullptr) {
        m_LogMsg << "Event: Invalid function call of the post() method. Reason: m_poSession not initialized";
        WriteLogMsg(ProgName, "ReplicationMgr::post()", __LINE__, ERR);
        return 0;
    }
    m_LogMsg << "\tEvent: Message " << ZXS_ReplicationMgr_PM_STRING(static_cast<unsigned int>(code)) << " received";
    WriteLogMsg(ProgName, "ReplicationMgr::post()", __LINE__, INFO);

    CaseFn fn = CaseRegistry::find(code);
    if (fn == nullptr) return 0;
    fn(*this, code, buf);
    cleanBuffer(code, buf);
    return 1;
}
