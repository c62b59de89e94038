// Names of the kinds of findings.
#include "checks/finding.h"

#include <array>
#include <stdexcept>

namespace rux::checks {
namespace {

constexpr std::array<std::string_view, kFindingKindCount> kNames = {"fit", "accelerators", "consistency",
                                                                    "untranslated"};

std::string_view Trim(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

}  // namespace

std::string_view KindName(TFindingKind Kind) {
  return kNames.at(static_cast<std::size_t>(Kind));
}

std::optional<TFindingKind> KindOfName(std::string_view Name) {
  for (std::size_t i = 0; i < kNames.size(); ++i) {
    if (kNames[i] == Name) return static_cast<TFindingKind>(i);
  }
  return std::nullopt;
}

TKindSet ParseKinds(std::string_view List) {
  TKindSet kinds = TKindSet::None();
  while (true) {
    const std::size_t comma = List.find(',');
    const std::string_view name = Trim(List.substr(0, comma));
    if (!name.empty()) {
      const std::optional<TFindingKind> kind = KindOfName(name);
      if (!kind) {
        throw std::invalid_argument("unknown kind '" + std::string(name) +
                                    "' (fit, accelerators, consistency, untranslated)");
      }
      kinds.Add(*kind);
    }
    if (comma == std::string_view::npos) break;
    List.remove_prefix(comma + 1);
  }
  if (kinds.Empty())
    throw std::invalid_argument("no kind given (fit, accelerators, consistency, untranslated)");
  return kinds;
}

}  // namespace rux::checks
