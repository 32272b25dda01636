#include "host/db/DBConnection.h"

const char* dbCatalogueSchema()
{
    static const char schema[] =
#include "host/db/CatalogueSchema.inc"
        ;
    return schema;
}
