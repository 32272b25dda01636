// The request codes of scratch volumes and pools and the case that answers each.
#include "service/ServedCases.h"

// No request of scratch volumes and pools is served yet.
void BindScratchCases(CaseRegistry&) {}
