// The request dispatch table of ReplicationMgr::post: for every request code
// that the replication manager serves, the kind of case that answers it, the
// message version, the request and reply types, the reply code, the handler or
// operation it reaches and the subsystem that owns that operation.
#pragma once

// How post answers a request code.
enum class CaseKind {
    Handler,       // the family's request handler template, one instance per message version
    PlainHandler,  // a non-template request handler of the owning subsystem
    InlineTran,    // post does the work itself inside a database transaction
    Inline         // post does the work itself without a transaction
};

struct DispatchEntry {
    unsigned long requestCode;
    unsigned long replyCode;  // request + 1 unless the table says otherwise
    CaseKind kind;
    const char* version;      // "V1", "42", "V2".."V6", "70", "80"; "" where the table gives none
    const char* target;       // handler or operation name, e.g. "AddDeviceHandler", "DeleteSNRDevice"
    int subsystem;            // 3..9
    const char* requestType;  // "" when none is given
    const char* replyType;    // "" when none is given
};

const unsigned long kFirstRequestCode = 0x35000001;
const unsigned long kDispatchSlots = 598;

// The entry of a served request code, or null for an empty slot or a code outside the range.
const DispatchEntry* FindDispatchEntry(unsigned long code);

// The reply code of a request code (request + 1 except the exceptions of the table).
// Codes that are not served get request + 1.
unsigned long ReplyCodeFor(unsigned long requestCode);
