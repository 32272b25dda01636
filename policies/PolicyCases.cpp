// The request codes of policies and snap engines and the case that answers each.
#include "service/ServedCases.h"

// No request of policies and snap engines is served yet.
void BindPolicyCases(CaseRegistry&) {}
