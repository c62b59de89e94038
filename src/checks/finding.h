// A finding of the review checks: a neutral record the command line, the JSON output and the
// editor's row marks all read the same way.
#pragma once

#include <bitset>
#include <optional>
#include <string>
#include <string_view>

namespace rux::checks {

enum class TFindingKind { Fit, Accelerators, Consistency, Untranslated };
inline constexpr int kFindingKindCount = 4;

// Bounds of a control in the client coordinates of its form, in pixels.
struct TControlBounds {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  bool operator==(const TControlBounds&) const = default;
};

struct TFinding {
  std::string File;  // the notes file the record belongs to
  std::string Id;    // the record's Id (component path and property)
  TFindingKind Kind = TFindingKind::Consistency;
  std::string Detail;                    // what is wrong, UTF-8
  std::optional<TControlBounds> Bounds;  // of the control, where the check knows it (fit)
};

// "fit", "accelerators", "consistency", "untranslated".
std::string_view KindName(TFindingKind Kind);
// The kind of a name as KindName gives it; nothing for another text.
std::optional<TFindingKind> KindOfName(std::string_view Name);

// A selection of kinds (--only).
class TKindSet {
 public:
  static TKindSet All() { return TKindSet(0b1111); }
  static TKindSet None() { return TKindSet(0); }
  bool Has(TFindingKind Kind) const { return bits_.test(static_cast<std::size_t>(Kind)); }
  void Add(TFindingKind Kind) { bits_.set(static_cast<std::size_t>(Kind)); }
  bool Empty() const { return bits_.none(); }

 private:
  explicit TKindSet(unsigned long bits) : bits_(bits) {}
  std::bitset<kFindingKindCount> bits_;
};

// The kinds of a comma-separated list ("fit,accelerators"); raises std::invalid_argument naming an
// unknown kind.
TKindSet ParseKinds(std::string_view List);

}  // namespace rux::checks
