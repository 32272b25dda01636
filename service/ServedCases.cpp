// The subsystems whose requests this library serves, in subsystem order.
// Each binds the request codes it answers; a code bound nowhere is answered
// like an unserved one.
#include "service/ServedCases.h"

namespace {

CaseRegistry BindServedCases()
{
    CaseRegistry cases;
    BindSNRCases(cases);      // snr/: SNR devices and volumes
    BindScratchCases(cases);  // scratch/: scratch volumes and pools
    BindReplicaCases(cases);  // replicas/: replication volumes
    BindPolicyCases(cases);   // policies/: policies and snap engines
    BindFLRCases(cases);      // flr/: consistency points and FLR
    BindCleanupCases(cases);  // cleanup/: snapshot cleanup and job history
    BindFilesCases(cases);    // files/: product files, applications and keys
    return cases;
}

}  // namespace

const CaseRegistry& ServedCases()
{
    static const CaseRegistry served = BindServedCases();
    return served;
}
