// Colours and fonts of the widget frameworks, mapped to Qt deterministically: the system colours
// come from one fixed palette and every font family maps to a DejaVu face, so that a form looks
// the same on every machine.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include <QColor>
#include <QFont>

namespace vaq::widgets {

// A framework colour: $00BBGGRR, or $80000000 | index for a system colour.
using TColor = std::int32_t;

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clScrollBar = static_cast<TColor>(0x80000000);
inline constexpr TColor clWindow = static_cast<TColor>(0x80000005);
inline constexpr TColor clWindowText = static_cast<TColor>(0x80000008);
inline constexpr TColor clBtnFace = static_cast<TColor>(0x8000000F);
inline constexpr TColor clBtnShadow = static_cast<TColor>(0x80000010);
inline constexpr TColor clBtnText = static_cast<TColor>(0x80000012);
inline constexpr TColor clBtnHighlight = static_cast<TColor>(0x80000014);
inline constexpr TColor clInfoBk = static_cast<TColor>(0x80000018);
inline constexpr TColor clActiveCaption = static_cast<TColor>(0x80000002);
inline constexpr TColor clCaptionText = static_cast<TColor>(0x80000009);
inline constexpr TColor clGrayText = static_cast<TColor>(0x80000011);
inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clDefault = 0x20000000;

// The colour of a name ("clRed", "clBtnFace"; either framework's names); nothing when unknown.
std::optional<TColor> IdentToColor(std::string_view Name);
// The name of a colour that has one, else "$00BBGGRR" hex text.
std::string ColorToString(TColor Color);
// The colour as drawn; system colours through the fixed palette.
QColor ToQColor(TColor Color);

// A framework font. Height < 0 is the character height in pixels, > 0 the cell height; Size is
// points at 96 pixels per inch (Size = -Height * 72 / 96).
struct TFontSpec {
  std::string Name = "MS Sans Serif";
  std::int32_t Height = -11;
  std::int32_t Charset = 1;  // DEFAULT_CHARSET
  TColor Color = clWindowText;
  bool Bold = false, Italic = false, Underline = false, StrikeOut = false;

  std::int32_t Size() const;
  void SetSize(std::int32_t Points);
  bool operator==(const TFontSpec&) const = default;
};

// The Qt font for a framework font: DejaVu Sans, Sans Mono or Serif by the family's kind, sized in
// pixels from Height.
QFont ToQFont(const TFontSpec& Font);
// The character-set identifier ("DEFAULT_CHARSET", "RUSSIAN_CHARSET") or nothing; and back.
std::optional<std::string> CharsetToIdent(std::int32_t Charset);
std::optional<std::int32_t> IdentToCharset(std::string_view Name);

}  // namespace vaq::widgets
