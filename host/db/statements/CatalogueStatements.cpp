// The files of statements whose rows the row families read, in the order of
// the subsystems that read them. A family's header names the function that
// registers its statement.
#include "host/db/statements/CatalogueStatements.h"

void RegisterCatalogueStatements(DBStatementSet& statements)
{
    RegisterSNRStatements(statements);             // SNRStatements.cpp: SNR devices and volumes, scratch pools,
                                                   // replication volumes, job history pruning
    RegisterBrowseStatements(statements);          // BrowseStatements.cpp: browse by client and by policy
    RegisterFileFlrCleanupStatements(statements);  // FileFlrCleanupStatements.cpp: files, policies, FLR, cleanup
}
