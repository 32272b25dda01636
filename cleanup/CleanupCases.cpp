// The request codes of snapshot cleanup and job history and the case that answers each.
#include "service/ServedCases.h"

// No request of snapshot cleanup and job history is served yet.
void BindCleanupCases(CaseRegistry&) {}
