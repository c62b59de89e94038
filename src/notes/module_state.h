// Module-wide state of the form notes model: the options and flags the editor and the file-level
// services share, and the manager of the file the editor shows.
#pragma once

namespace rux {

class TRuxMgr;

// Editor option: translated forms are written as formatted form text instead of binary.
extern bool bFormAsText;

// Editor option: a rewritten translated form keeps the file date it had before.
extern bool bKeepRuzTimeStamp;

// The manager of the notes file the editor window shows; nullptr when it shows none. Borrowed:
// the editor window owns it and registers it with SetCurrentMgr.
TRuxMgr* CurrentMgr();
void SetCurrentMgr(TRuxMgr* Mgr);

}  // namespace rux
