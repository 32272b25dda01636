// The cases this library serves, and the one function of each subsystem
// that binds its request codes (defined in the subsystem's own folder).
#pragma once

#include "service/CaseRegistry.h"

// The library's cases, bound once on first use; the same object for the
// life of the process, read-only and safe to use from any thread.
const CaseRegistry& ServedCases();

void BindSNRCases(CaseRegistry& cases);
void BindScratchCases(CaseRegistry& cases);
void BindReplicaCases(CaseRegistry& cases);
void BindPolicyCases(CaseRegistry& cases);
void BindFLRCases(CaseRegistry& cases);
void BindCleanupCases(CaseRegistry& cases);
void BindFilesCases(CaseRegistry& cases);
