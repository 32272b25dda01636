// The request codes of product files, applications and keys and the case that answers each.
#include "service/ServedCases.h"

// No request of product files, applications and keys is served yet.
void BindFilesCases(CaseRegistry&) {}
