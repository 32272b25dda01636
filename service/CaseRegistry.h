// The request cases a build serves: for each served request code, the case
// that answers it and what post needs to answer without running the case.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "host/ZxFramework.h"
#include "service/DispatchTable.h"

class ReplicationMgr;

// A case of post: serves one request, sending exactly one reply. Post calls
// it only with a buffer, and with request data when its request carries any.
using CaseFn = void (*)(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf);

// Answers a request that came without its data: one failed reply in the
// case's own reply layout and an ERR entry naming what was missing. With
// missing null, answers a request whose transaction cannot start in this
// process (DBtran::catalogueInherited) with the failed reply and the ERR
// entry of a transaction that did not start, touching nothing of the
// catalogue.
using RefuseFn = void (*)(ReplicationMgr& mgr, unsigned long code, const char* missing);

// The status fields of a reply as it was sent, read in its case's layout.
// errMsg points where the reply pointed; read it while the reply is sent.
struct SentStatus {
    int64_t status;
    bool hasErrCode;
    int32_t errCode;  // 0 when the reply carries none
    const char* errMsg;
};
using ReadStatusFn = SentStatus (*)(const void* reply);

// One case as it is bound; built by cases::Serve<Request, Reply>, which
// knows the request and the reply layout of the case.
struct ServedCase {
    CaseFn serve = nullptr;
    RefuseFn refuse = nullptr;
    ReadStatusFn readStatus = nullptr;
    std::size_t replySize = 0;
    bool readsRequest = true;  // false for a request that carries no data
    std::size_t requestSize = 0;        // size of the request layout; 0 without one
    bool requestHoldsPointers = false;  // the layout holds texts or arrays
};

class CaseRegistry {
public:
    // Binds a served request code to its case; false for a code the
    // dispatch table does not serve, an incomplete case or a code already bound.
    bool bind(unsigned long code, const ServedCase& served);
    // The case of a code, or null when none is bound.
    const ServedCase* find(unsigned long code) const;
    // Served codes with a case, in code order.
    std::vector<unsigned long> boundCodes() const;
    // Served codes that have no case bound yet, in code order.
    std::vector<unsigned long> unboundCodes() const;

private:
    std::array<ServedCase, kDispatchSlots> m_cases{};
};
