// vaq locale: how a language name is understood.
#include <cstdio>

#include "command.h"
#include "host/core/locale.h"

namespace vaq::app {

int RunLocale(const Arguments& args) {
  int status = kExitOk;
  for (const std::string& name : args.Positional) {
    const TLCID lcid = StrToLCID(name);
    if (lcid == 0) {
      std::fprintf(stderr, "vaq locale: unknown language '%s'\n", name.c_str());
      status = kExitFileFailed;
      continue;
    }
    const unsigned code_page = LCIDToCodePage(lcid);
    std::printf("%s\t$%04X\t%s\t%s\t%s\t%s\n", name.c_str(), lcid, LCIDToStr(lcid).c_str(),
                LCIDToStr(lcid, false).c_str(), LCIDToLangName(lcid).c_str(),
                code_page == 0 ? "UTF-8" : ("cp" + std::to_string(code_page)).c_str());
  }
  return status;
}

}  // namespace vaq::app
