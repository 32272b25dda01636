// The request codes of product files, applications and keys and the case that answers each.
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

    // Encryption key hand-off: message versions 1 and V2.
    cases.bind(0x350001f5, GetEKeyCaseV1);
    cases.bind(0x35000222, GetEKeyCaseV2);
}
