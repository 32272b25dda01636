// The host's job control client, through which a running job learns that it
// is to stop. Stand-in: the flag comes from ClientFakes' script
// (setQuitAfter) and each question is journaled.
#pragma once

class ZXJobCtrlClient {
public:
    // True when the job was asked to stop.
    bool checkQuitFlag();
};
