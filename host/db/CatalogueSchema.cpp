// The catalogue's migrations, embedded from schema/NNN_name.sql by
// gen_schema.sh.
#include "host/db/DBConnection.h"

const std::vector<DBMigration>& dbCatalogueMigrations()
{
    static const std::vector<DBMigration> migrations = {
#include "host/db/CatalogueMigrations.inc"
    };
    return migrations;
}
