// The request cases of the stored product files, each defined at the bottom
// of its operation's file and bound to its request code in files/FilesCases.cpp.
#pragma once

#include "service/CaseRegistry.h"

// Staged transfers (files/FileTransfer.cpp).
extern const ServedCase UploadYBFileCase;
extern const ServedCase DownloadYBFileCase;

// Queries, list, update and deletes (files/StoredFiles.cpp).
extern const ServedCase QueryYBFileByVolIdCase;
extern const ServedCase QueryYBFileByIdCase;
extern const ServedCase QueryYBFileByNameCase;
extern const ServedCase GetYBFileListCase;
extern const ServedCase DeleteYBFileByIdCase;
extern const ServedCase DeleteYBFileByVolIdCase;
extern const ServedCase UpdateYBFileCase;
