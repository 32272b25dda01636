// The request codes of consistency points and FLR and the case that answers each.
#include "service/ServedCases.h"

// No request of consistency points and FLR is served yet.
void BindFLRCases(CaseRegistry&) {}
