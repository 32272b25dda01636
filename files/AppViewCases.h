// The request cases of appliances, user application definitions, browse
// views and the lists for other components, each defined at the bottom of
// its operation's file and bound to its request code in files/FilesCases.cpp.
#pragma once

#include "service/CaseRegistry.h"

// Appliances (files/Appliances.cpp).
extern const ServedCase AddYBApplianceCase;
extern const ServedCase DeleteYBApplianceCase;
extern const ServedCase GetYBApplianceListCase;
extern const ServedCase QueryYBApplianceCase;

// User application definitions (files/UserApplications.cpp).
extern const ServedCase AddApplicationCase;
extern const ServedCase UpdateApplicationCase;
extern const ServedCase DeleteApplicationCase;
extern const ServedCase QueryApplicationCase;
extern const ServedCase GetApplicationListCase;

// Browse views (files/BrowseViews.cpp), by message version.
extern const ServedCase BrowseByClientCaseV1;
extern const ServedCase BrowseByClientCaseV2;
extern const ServedCase BrowseByPolicyCaseV1;
extern const ServedCase BrowseByPolicyCaseV2;

// Lists for other components (files/ComponentLists.cpp).
extern const ServedCase GetSubclientVolumesListCase;
extern const ServedCase GetVEHostsCase;
extern const ServedCase GetCopyMgrsCase;
