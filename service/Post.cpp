// The dispatcher of the service object and the registry it dispatches
// through: every served request code reaches the case bound to it. The
// library's own registry is built once in service/ServedCases.cpp; a test
// may give the service object a registry of its own, so that it serves
// cases written for the test.
#include "host/db/DBtran.h"
#include "service/CaseRegistry.h"
#include "service/DispatchTable.h"
#include "service/ReplicationMgr.h"
#include "service/SourceNames.h"

namespace {

// The slot of a code inside the dispatch range, or kDispatchSlots outside it.
unsigned long SlotOf(unsigned long code) {
    // Unsigned arithmetic: codes below the first one wrap to large slots.
    const unsigned long slot = code - kFirstRequestCode;
    return slot < kDispatchSlots ? slot : kDispatchSlots;
}

}  // namespace

bool CaseRegistry::bind(unsigned long code, const ServedCase& served) {
    if (FindDispatchEntry(code) == nullptr) return false;
    if (served.serve == nullptr || served.refuse == nullptr || served.readStatus == nullptr) return false;
    ServedCase& slot = m_cases[SlotOf(code)];
    if (slot.serve != nullptr) return false;
    slot = served;
    return true;
}

const ServedCase* CaseRegistry::find(unsigned long code) const {
    const unsigned long slot = SlotOf(code);
    if (slot == kDispatchSlots || m_cases[slot].serve == nullptr) return nullptr;
    return &m_cases[slot];
}

std::vector<unsigned long> CaseRegistry::boundCodes() const {
    std::vector<unsigned long> codes;
    for (unsigned long slot = 0; slot < kDispatchSlots; ++slot)
        if (m_cases[slot].serve != nullptr) codes.push_back(kFirstRequestCode + slot);
    return codes;
}

std::vector<unsigned long> CaseRegistry::unboundCodes() const {
    std::vector<unsigned long> codes;
    for (unsigned long slot = 0; slot < kDispatchSlots; ++slot) {
        const unsigned long code = kFirstRequestCode + slot;
        if (FindDispatchEntry(code) != nullptr && m_cases[slot].serve == nullptr) codes.push_back(code);
    }
    return codes;
}

// Every code is logged as received. A code without a bound case returns 0
// and gets no reply; a bound one is answered exactly once, the buffer it
// came in is handed back to the framework and post returns 1. The cases are
// those of the registry the object was built with. In a child of fork of a
// process that used the catalogue, a case is not run: its request is
// answered at once as one whose transaction cannot start.
unsigned long ReplicationMgr::post(unsigned long code, unsigned long, zxsDatabuf* buf) {
    if (m_poSession == nullptr) {
        m_LogMsg << "Event: Invalid function call of the post() method. Reason: m_poSession not initialized";
        WriteLogMsg(cases::ProgName, "ReplicationMgr::post()", __LINE__, ERR);
        return 0;
    }
    m_LogMsg << "\tEvent: Message " << ZXS_ReplicationMgr_PM_STRING(static_cast<unsigned int>(code)) << " received";
    WriteLogMsg(cases::ProgName, "ReplicationMgr::post()", __LINE__, INFO);

    const ServedCase* served = m_pCases->find(code);
    if (served == nullptr) return 0;
    // A request without its buffer, or without the data its case reads, is
    // answered with the failed reply of its case's layout; the case does not run.
    if (buf == nullptr) {
        served->refuse(*this, code, "Request buffer");
        return 1;
    }
    if (served->readsRequest && buf->m_pData == nullptr)
        served->refuse(*this, code, "Request data");
    else if (DBtran::catalogueInherited())
        served->refuse(*this, code, nullptr);
    else
        served->serve(*this, code, buf);
    cleanBuffer(code, buf);
    return 1;
}
