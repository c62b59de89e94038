// Telling the exchange formats apart.
#include "exchange/formats.h"

namespace rux::exchange {

Format DetectFormat(std::string_view data) {
  std::size_t i = 0;
  if (data.starts_with("\xEF\xBB\xBF")) i = 3;
  while (i < data.size() && (data[i] == ' ' || data[i] == '\t' || data[i] == '\r' || data[i] == '\n')) ++i;
  if (i == data.size() || data[i] != '<') return Format::Po;
  // The version attribute of the root element tells the two XLIFF generations apart.
  const std::size_t root = data.find("<xliff", i);
  if (root == std::string_view::npos) return Format::Xliff2;
  const std::size_t end = data.find('>', root);
  const std::string_view tag = data.substr(root, end == std::string_view::npos ? end : end - root);
  const std::size_t version = tag.find("version=");
  if (version != std::string_view::npos && version + 9 < tag.size() && tag[version + 9] == '1')
    return Format::Xliff12;
  return Format::Xliff2;
}

const char* FormatExtension(Format format) {
  return format == Format::Po ? ".po" : ".xlf";
}

}  // namespace rux::exchange
