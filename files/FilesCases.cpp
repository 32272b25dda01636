// The request codes of product files, applications and keys and the case that answers each.
#include "files/AppViewCases.h"
#include "files/EncryptionKeys.h"
#include "files/StoredFileCases.h"
#include "service/ServedCases.h"

void BindFilesCases(CaseRegistry& cases)
{
    // Stored product files: staged upload and download, queries, list, deletes, update.
    cases.bind(0x35000143, UploadYBFileCase);
    cases.bind(0x35000145, DownloadYBFileCase);
    cases.bind(0x35000147, QueryYBFileByVolIdCase);
    cases.bind(0x35000149, QueryYBFileByIdCase);
    cases.bind(0x3500014b, QueryYBFileByNameCase);
    cases.bind(0x3500014d, GetYBFileListCase);
    cases.bind(0x3500014f, DeleteYBFileByIdCase);
    cases.bind(0x35000151, DeleteYBFileByVolIdCase);
    cases.bind(0x35000153, UpdateYBFileCase);

    // Appliances, user application definitions, browse views and lists.
    cases.bind(0x35000103, AddYBApplianceCase);
    cases.bind(0x35000105, DeleteYBApplianceCase);
    cases.bind(0x35000107, GetYBApplianceListCase);
    cases.bind(0x35000109, QueryYBApplianceCase);
    cases.bind(0x35000199, AddApplicationCase);
    cases.bind(0x3500019b, UpdateApplicationCase);
    cases.bind(0x3500019d, DeleteApplicationCase);
    cases.bind(0x3500019f, QueryApplicationCase);
    cases.bind(0x350001a1, GetApplicationListCase);
    cases.bind(0x350001c9, BrowseByClientCaseV1);
    cases.bind(0x35000218, BrowseByClientCaseV2);
    cases.bind(0x350001cd, BrowseByPolicyCaseV1);
    cases.bind(0x35000220, BrowseByPolicyCaseV2);
    cases.bind(0x350001cb, GetSubclientVolumesListCase);
    cases.bind(0x350001cf, GetVEHostsCase);
    cases.bind(0x350001d9, GetCopyMgrsCase);

    // Encryption key hand-off: message versions 1 and V2.
    cases.bind(0x350001f5, GetEKeyCaseV1);
    cases.bind(0x35000222, GetEKeyCaseV2);
}
