// The request codes of product files, applications and keys and the case that answers each.
#include "files/EncryptionKeys.h"
#include "service/ServedCases.h"

void BindFilesCases(CaseRegistry& cases)
{
    // Encryption key hand-off: message versions 1 and V2.
    cases.bind(0x350001f5, GetEKeyCaseV1);
    cases.bind(0x35000222, GetEKeyCaseV2);
}
