#include "designer/designer_policy.h"

#include <cctype>

namespace rux {

TDesignerPolicy DesignerPolicyForFile(std::string_view FormFile) {
  constexpr std::string_view kQtExtension = ".gox";
  if (FormFile.size() < kQtExtension.size()) return kNativeDesignerPolicy;
  const std::string_view ext = FormFile.substr(FormFile.size() - kQtExtension.size());
  for (size_t i = 0; i < ext.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(ext[i])) != kQtExtension[i]) return kNativeDesignerPolicy;
  return kQtDesignerPolicy;
}

TDesignKey DesignKeyFromVirtualKey(int VirtualKey) {
  switch (VirtualKey) {
    case 0x09:
      return TDesignKey::Tab;
    case 0x1B:
      return TDesignKey::Escape;
    case 0x25:
      return TDesignKey::Left;
    case 0x26:
      return TDesignKey::Up;
    case 0x27:
      return TDesignKey::Right;
    case 0x28:
      return TDesignKey::Down;
    default:
      return TDesignKey::Other;
  }
}

TDesignKey DesignKeyFromQtKey(int QtKey) {
  switch (QtKey) {
    case 0x01000000:
      return TDesignKey::Escape;
    case 0x01000001:
      return TDesignKey::Tab;
    case 0x01000002:
      return TDesignKey::BackTab;
    case 0x01000012:
      return TDesignKey::Left;
    case 0x01000013:
      return TDesignKey::Up;
    case 0x01000014:
      return TDesignKey::Right;
    case 0x01000015:
      return TDesignKey::Down;
    default:
      return TDesignKey::Other;
  }
}

}  // namespace rux
