// The request codes of replication volumes and the case that answers each.
#include "service/ServedCases.h"

// No request of replication volumes is served yet.
void BindReplicaCases(CaseRegistry&) {}
