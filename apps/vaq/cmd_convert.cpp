// vaq convert: a form file between text notation, binary form and resource form.
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "command.h"
#include "host/core/errors.h"
#include "host/core/files.h"
#include "host/framework/formstream.h"
#include "mapped_file.h"

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

// The output file, written piece by piece as a conversion makes it, so that a large form's output
// is never held whole in memory; it replaces the old file only on Commit.
class TOutputFile {
 public:
  explicit TOutputFile(const std::string& name) : writer_(name) {}
  TOutputSink Sink() {
    return [this](std::string_view piece) { writer_.Write(piece); };
  }
  void Commit() { writer_.Commit(); }

 private:
  TAtomicFileWriter writer_;
};

// Writes a binary form converted from text as `target` asks: behind a resource header, or
// formatted text.
void WriteBinary(std::string& binary, const std::string& target, const std::string& out) {
  TMemoryStream stream(std::move(binary));
  if (target == "text") {
    TOutputFile file(out);
    ObjectBinaryToText(stream, file.Sink());
    file.Commit();
    return;
  }
  std::string rootClass;
  {
    TFormReader reader(stream, 512);
    reader.ReadSignature();
    std::uint8_t flags = 0;
    std::int32_t position = -1;
    reader.ReadPrefix(flags, position);
    rootClass = reader.ReadStr();
  }
  TMemoryStream header;
  WriteResourceHeader(header, rootClass, static_cast<std::uint32_t>(stream.Size()));
  TAtomicFileWriter writer(out);
  writer.Write(header.Data());
  writer.Write(stream.Data());
  writer.Commit();
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
    // The input is mapped, not copied; text is parsed where it lies.
    const TMappedFile input(in);
    const std::string_view bytes = input.Bytes();
    const TStreamOriginalFormat format = TestFormFormat(bytes);
    if (format == TStreamOriginalFormat::sofUnknown) {
      std::fprintf(stderr, "%s: not a form file (neither text nor binary notation)\n", in.c_str());
      return kExitFileFailed;
    }
    if (target.empty()) target = format == TStreamOriginalFormat::sofText ? "binary" : "text";
    const auto warnIgnoredText = [&](std::size_t consumed) {
      if (const int line = IgnoredTextLine(bytes, consumed); line > 0)
        std::fprintf(stderr, "%s\n", IgnoredTextWarning(in, line).c_str());
    };
    if (format == TStreamOriginalFormat::sofText && target == "binary") {
      // Parsed where it is mapped, written as it is made: a parse error leaves `out` as it was.
      TOutputFile file(out);
      warnIgnoredText(ObjectTextToBinary(bytes, file.Sink()));
      file.Commit();
    } else if (format == TStreamOriginalFormat::sofText) {
      std::string binary;
      warnIgnoredText(ObjectTextToBinary(bytes, binary));
      WriteBinary(binary, target, out);
    } else {
      // The reader reads the mapped bytes where they lie.
      TMemoryStream stream = TMemoryStream::View(bytes);
      if (target == "text") {
        TOutputFile file(out);
        ObjectResourceToText(stream, file.Sink());  // a damaged form raises before Commit
        file.Commit();
      } else {
        TMemoryStream resource;
        ObjectTextToResource(stream, resource);
        resource.Seek(0);
        if (target == "binary") SkipResourceHeader(resource);
        WriteFileAtomic(out, resource.Rest());
      }
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
