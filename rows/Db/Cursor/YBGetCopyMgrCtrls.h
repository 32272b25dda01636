// The distinct copy manager controllers with their copy manager and their
// client (id twice, network host name, operating system id and name).
#pragma once

#include "rows/RowFamily.h"

#define YBGetCopyMgrCtrls_COLUMNS(I, B, S) \
    I(CMCId) \
    S(CMName, 257) \
    I(CMType) \
    I(MAId) \
    I(ClientId) \
    S(NetHostName, 256) \
    I(OSId) \
    S(OSName, 65)

// SQLite statement run: RegisterFileFlrCleanupStatements in host/db/statements/FileFlrCleanupStatements.cpp
ZXDB_CURSOR(YBGetCopyMgrCtrls, YBGetCopyMgrCtrls_COLUMNS, "i|s257|i|i|i|s256|i|s65|",
            "SET NOCOUNT ON \n"
            "SELECT \tdistinct \n"
            "\tCMC.CopyManagerCtrlId \tAS CopyMgrCtrlId, \n"
            "\tCM.CopyMgrName \t\t\tAS CopyMgrName, \n"
            "\tCM.CopyManagerType \t\tAS CopyMgrType, \n"
            "\tCMC.ClientId \t\t\tAS MediaAgentId, \n"
            "\tCMC.ClientId \t\t\tAS ClientId, \n"
            "\tC.net_HostName, \n"
            "\tC.dhtOperatingSystemId\tAS OSId, \n"
            "\tdbo.GetClientOSName(C.id, NULL)\t\t\t\t\tAS OSName \n"
            "FROM\tDHCopyManager CM \n"
            "            INNER JOIN DHCopyManagerCtrl CMC \n"
            "                  ON CMC.CopyManagerId  = CM.CopyManagerId \n"
            "            INNER JOIN DHT_Client C \n"
            "                  ON CMC.ClientId = C.Id \n"
            "            INNER JOIN DHT_ClientProp CP \n"
            "                  ON CP.componentNameId = C.id \n"
            "WHERE CMC.CopyManagerCtrlId > 0 AND \n"
            "            (CM.CopyManagerType NOT IN (5,6) \n"
            "            OR \n"
            "            (CM.CopyManagerType = 5 AND CP.attrName = 'Open System SnapVault' AND CP.attrVal = '1' AND CP.modified = 0) \n"
            "            OR \n"
            "            (CM.CopyManagerType = 6 AND CP.attrName = 'ONTAP SnapVault' AND CP.attrVal = '1' AND CP.modified = 0)) \n"
            "\tSET NOCOUNT OFF",
            "source/include/Db/Cursor/YBGetCopyMgrCtrls", ())
