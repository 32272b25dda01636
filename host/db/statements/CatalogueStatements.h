// The statements of the catalogue, registered by one function per file of
// host/db/statements/, each called from RegisterCatalogueStatements.
#pragma once

#include "host/db/DBStatementRegistry.h"

// Adds every statement of the catalogue; the registry calls it on its first
// use.
void RegisterCatalogueStatements(DBStatementSet& statements);

void RegisterSNRStatements(DBStatementSet& statements);
void RegisterBrowseStatements(DBStatementSet& statements);
void RegisterFileFlrCleanupStatements(DBStatementSet& statements);
