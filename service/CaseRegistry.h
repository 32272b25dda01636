// Binding of request codes to the cases that serve them.
#pragma once

#include <vector>

#include "host/ZxFramework.h"

class ReplicationMgr;

// A case of post: serves one request, sending exactly one reply.
using CaseFn = void (*)(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf);

class CaseRegistry {
public:
    // Binds a served request code to its case; false for a code the
    // dispatch table does not serve or one that is already bound.
    static bool bind(unsigned long code, CaseFn fn);
    // Removes a binding (used by tests that bind cases of their own).
    static void unbind(unsigned long code);
    // The case of a code, or null when none is bound.
    static CaseFn find(unsigned long code);
    // Served codes that have no case bound yet, in code order.
    static std::vector<unsigned long> unboundCodes();
};

// Binds a case at load time of the library.
#define REPLMGR_CASE_CAT2(a, b) a##b
#define REPLMGR_CASE_CAT(a, b) REPLMGR_CASE_CAT2(a, b)
#define REPLMGR_BIND_CASE(code, fn) \
    static const bool REPLMGR_CASE_CAT(s_bound_, __LINE__) = CaseRegistry::bind((code), (fn))
