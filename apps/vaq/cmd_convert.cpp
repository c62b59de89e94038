// vaq convert: a form file between text notation, binary form and resource form.
#include <cstdio>

#include "command.h"
#include "host/core/errors.h"
#include "host/core/files.h"
#include "host/framework/formstream.h"

namespace vaq::app {
namespace {

const char* NotationName(TStreamOriginalFormat format) {
  switch (format) {
    case TStreamOriginalFormat::sofText:
      return "text";
    case TStreamOriginalFormat::sofBinary:
      return "binary";
    default:
      return "unknown";
  }
}

}  // namespace

int RunConvert(const Arguments& args) {
  const std::string& in = args.Positional[0];
  const std::string& out = args.Positional[1];
  std::string target = args.Value("--to");
  if (!target.empty() && target != "text" && target != "binary" && target != "resource") {
    throw UsageError("--to takes text, binary or resource, not " + target);
  }
  try {
    // One sized read of the input; the result is written from where it lies, without copies.
    TMemoryStream input;
    input.LoadFromFile(in);
    TMemoryStream resource;
    const TStreamOriginalFormat format = ObjectTextToResource(input, resource);
    if (format == TStreamOriginalFormat::sofUnknown) {
      std::fprintf(stderr, "%s: not a form file (neither text nor binary notation)\n", in.c_str());
      return kExitFileFailed;
    }
    if (format == TStreamOriginalFormat::sofText) {
      if (const int line = IgnoredTextLine(input); line > 0)
        std::fprintf(stderr, "%s\n", IgnoredTextWarning(in, line).c_str());
    }
    if (target.empty()) target = format == TStreamOriginalFormat::sofText ? "binary" : "text";

    resource.Seek(0);
    if (target == "resource") {
      WriteFileAtomic(out, resource.Data());
    } else if (target == "binary") {
      SkipResourceHeader(resource);
      WriteFileAtomic(out, resource.Rest());
    } else {
      TMemoryStream output;
      ObjectResourceToText(resource, output);
      output.SaveToFile(out);
    }
    std::printf("%s: %s notation -> %s (%s)\n", in.c_str(), NotationName(format), out.c_str(),
                target.c_str());
    return kExitOk;
  } catch (const EVaqError& error) {
    std::fprintf(stderr, "%s: %s\n", in.c_str(), error.what());
    return kExitFileFailed;
  }
}

}  // namespace vaq::app
