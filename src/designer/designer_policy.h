// The two frameworks' differences in how their designer takes input, as data: one designer
// serves both. Native forms (".rux") act on a key when it is pressed and only on keys the form
// itself receives, and drag with the left button only; Qt-based forms (".gox") act on a key when
// it is released, also when a control received it, and drag with any button. In both, the
// test-mode command reaches only the designer of the form whose window received it.
#pragma once

#include <cstddef>
#include <string_view>

namespace rux {

struct TDesignerPolicy {
  bool KeysOnRelease = false;
  bool KeysFromControls = false;
  bool AnyMouseButton = false;
};

inline constexpr TDesignerPolicy kNativeDesignerPolicy{false, false, false};
inline constexpr TDesignerPolicy kQtDesignerPolicy{true, true, true};

// The policy for a form file: Qt-based for ".gox" (any case), native otherwise.
TDesignerPolicy DesignerPolicyForFile(std::string_view FormFile);

// The keys the designer acts on. Shift+Tab may arrive as BackTab.
enum class TDesignKey { Other, Tab, BackTab, Escape, Left, Up, Right, Down };
inline constexpr std::size_t kDesignKeyCount = 8;

// Native virtual-key codes: Tab 0x09, Escape 0x1B, Left..Down 0x25..0x28.
TDesignKey DesignKeyFromVirtualKey(int VirtualKey);
// Qt key codes: Escape 0x01000000, Tab 0x01000001, Backtab 0x01000002, Left..Down
// 0x01000012..0x01000015.
TDesignKey DesignKeyFromQtKey(int QtKey);

struct TShiftState {
  bool Shift = false;
  bool Ctrl = false;
  bool Alt = false;
};

enum class TMouseButton { Left, Right, Middle };
enum class TMouseAction { Down, Move, Up };
enum class TKeyAction { Press, Release };

}  // namespace rux
