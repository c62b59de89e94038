// Module-wide state of the form notes model.
#include "notes/module_state.h"

namespace rux {
namespace {

TRuxMgr* currentMgr = nullptr;

}  // namespace

bool bFormAsText = false;
bool bKeepRuzTimeStamp = true;

TRuxMgr* CurrentMgr() {
  return currentMgr;
}

void SetCurrentMgr(TRuxMgr* Mgr) {
  currentMgr = Mgr;
}

}  // namespace rux
