// The one list of the catalogue's statements: each file of
// host/db/statements/ has its registration function called here. A row
// family's header names the function that registers its statement.
#include "host/db/statements/CatalogueStatements.h"

void RegisterCatalogueStatements(DBStatementSet& statements)
{
    RegisterSNRStatements(statements);             // SNRStatements.cpp: SNR devices and volumes, scratch pools,
                                                   // replication volumes, job history pruning
    RegisterBrowseStatements(statements);          // BrowseStatements.cpp: browse by client and by policy
    RegisterFileFlrCleanupStatements(statements);  // FileFlrCleanupStatements.cpp: files, policies, FLR, cleanup
}
