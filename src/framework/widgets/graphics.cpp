#include "framework/widgets/graphics.h"

#include <strings.h>
#include <array>
#include <cmath>
#include <cstdio>

#include <cctype>
#include <cstring>

namespace vaq::widgets {

namespace {

struct TNamedColor {
  const char* Name;
  TColor Color;
};

constexpr TColor Sys(int Index) {
  return static_cast<TColor>(0x80000000u | static_cast<unsigned>(Index));
}

const TNamedColor kColorNames[] = {
    {"clBlack", 0x000000},
    {"clMaroon", 0x000080},
    {"clGreen", 0x008000},
    {"clOlive", 0x008080},
    {"clNavy", 0x800000},
    {"clPurple", 0x800080},
    {"clTeal", 0x808000},
    {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},
    {"clLime", 0x00FF00},
    {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},
    {"clFuchsia", 0xFF00FF},
    {"clAqua", 0xFFFF00},
    {"clLtGray", 0xC0C0C0},
    {"clDkGray", 0x808080},
    {"clWhite", 0xFFFFFF},
    {"clMoneyGreen", 0xC0DCC0},
    {"clSkyBlue", 0xF0CAA6},
    {"clCream", 0xF0FBFF},
    {"clMedGray", 0xA4A0A0},
    {"clNone", clNone},
    {"clDefault", clDefault},
    {"clScrollBar", Sys(0)},
    {"clBackground", Sys(1)},
    {"clActiveCaption", Sys(2)},
    {"clInactiveCaption", Sys(3)},
    {"clMenu", Sys(4)},
    {"clWindow", Sys(5)},
    {"clWindowFrame", Sys(6)},
    {"clMenuText", Sys(7)},
    {"clWindowText", Sys(8)},
    {"clCaptionText", Sys(9)},
    {"clActiveBorder", Sys(10)},
    {"clInactiveBorder", Sys(11)},
    {"clAppWorkSpace", Sys(12)},
    {"clHighlight", Sys(13)},
    {"clHighlightText", Sys(14)},
    {"clBtnFace", Sys(15)},
    {"clBtnShadow", Sys(16)},
    {"clGrayText", Sys(17)},
    {"clBtnText", Sys(18)},
    {"clInactiveCaptionText", Sys(19)},
    {"clBtnHighlight", Sys(20)},
    {"cl3DDkShadow", Sys(21)},
    {"cl3DLight", Sys(22)},
    {"clInfoText", Sys(23)},
    {"clInfoBk", Sys(24)},
    {"clHotLight", Sys(26)},
    {"clGradientActiveCaption", Sys(27)},
    {"clGradientInactiveCaption", Sys(28)},
    {"clMenuHighlight", Sys(29)},
    {"clMenuBar", Sys(30)},
    // The Qt-based framework's names for its palette roles, drawn from the same palette.
    {"clForeground", Sys(8)},
    {"clButton", Sys(15)},
    {"clLight", Sys(20)},
    {"clMidlight", Sys(22)},
    {"clDark", Sys(16)},
    {"clMid", Sys(16)},
    {"clText", Sys(8)},
    {"clBrightText", Sys(14)},
    {"clButtonText", Sys(18)},
    {"clBase", Sys(5)},
    {"clShadow", Sys(21)},
    {"clNormalForeground", Sys(8)},
    {"clNormalButton", Sys(15)},
    {"clNormalBackground", Sys(15)},
    {"clNormalBase", Sys(5)},
    {"clNormalText", Sys(8)},
    {"clNormalButtonText", Sys(18)},
    {"clNormalHighlight", Sys(13)},
    {"clNormalHighlightedText", Sys(14)},
};

// The fixed palette of the system colours, index 0 to 30, as $RRGGBB.
constexpr std::array<std::uint32_t, 31> kSystemPalette = {
    0xC8C8C8, 0x000000, 0x99B4D1, 0xBFCDDB, 0xF0F0F0, 0xFFFFFF, 0x646464, 0x000000,
    0x000000, 0x000000, 0xB4B4B4, 0xF4F7FC, 0xABABAB, 0x3399FF, 0xFFFFFF, 0xF0F0F0,
    0xA0A0A0, 0x6D6D6D, 0x000000, 0x434E54, 0xFFFFFF, 0x696969, 0xE3E3E3, 0x000000,
    0xFFFFE1, 0x000000, 0x0066CC, 0xB9D1EA, 0xD7E4F2, 0x3399FF, 0xF0F0F0};

struct TCharsetName {
  const char* Name;
  std::int32_t Value;
};
const TCharsetName kCharsets[] = {
    {"ANSI_CHARSET", 0},      {"DEFAULT_CHARSET", 1},    {"SYMBOL_CHARSET", 2},
    {"MAC_CHARSET", 77},      {"SHIFTJIS_CHARSET", 128}, {"HANGEUL_CHARSET", 129},
    {"JOHAB_CHARSET", 130},   {"GB2312_CHARSET", 134},   {"CHINESEBIG5_CHARSET", 136},
    {"GREEK_CHARSET", 161},   {"TURKISH_CHARSET", 162},  {"VIETNAMESE_CHARSET", 163},
    {"HEBREW_CHARSET", 177},  {"ARABIC_CHARSET", 178},   {"BALTIC_CHARSET", 186},
    {"RUSSIAN_CHARSET", 204}, {"THAI_CHARSET", 222},     {"EASTEUROPE_CHARSET", 238},
    {"OEM_CHARSET", 255},
};

bool Contains(const std::string& Text, const char* Part) {
  std::string lower;
  for (char c : Text) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower.find(Part) != std::string::npos;
}

}  // namespace

std::optional<TColor> IdentToColor(std::string_view Name) {
  for (const auto& entry : kColorNames)
    if (Name.size() == std::strlen(entry.Name) && strncasecmp(entry.Name, Name.data(), Name.size()) == 0)
      return entry.Color;
  return std::nullopt;
}

std::string ColorToString(TColor Color) {
  for (const auto& entry : kColorNames)
    if (entry.Color == Color) return entry.Name;
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "$%08X", static_cast<unsigned>(Color));
  return buffer;
}

QColor ToQColor(TColor Color) {
  auto value = static_cast<std::uint32_t>(Color);
  if (value & 0x80000000u) {
    std::uint32_t rgb = kSystemPalette[(value & 0xFF) < kSystemPalette.size() ? (value & 0xFF) : 15];
    return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
  }
  if (Color == clNone || Color == clDefault) return QColor(0xF0, 0xF0, 0xF0);
  return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

std::int32_t TFontSpec::Size() const {
  return static_cast<std::int32_t>(std::lround(-Height * 72.0 / 96.0));
}

void TFontSpec::SetSize(std::int32_t Points) {
  Height = -static_cast<std::int32_t>(std::lround(Points * 96.0 / 72.0));
}

QFont ToQFont(const TFontSpec& Font) {
  QString family = QStringLiteral("DejaVu Sans");
  if (Contains(Font.Name, "courier") || Contains(Font.Name, "mono") || Contains(Font.Name, "console") ||
      Contains(Font.Name, "fixed") || Contains(Font.Name, "terminal"))
    family = QStringLiteral("DejaVu Sans Mono");
  else if (Contains(Font.Name, "times") || (Contains(Font.Name, "serif") && !Contains(Font.Name, "sans")) ||
           Contains(Font.Name, "georgia") || Contains(Font.Name, "roman"))
    family = QStringLiteral("DejaVu Serif");
  QFont font(family);
  // A positive height is the cell height, internal leading included (about a fifth).
  int pixels = Font.Height < 0 ? -Font.Height : (Font.Height * 4 + 2) / 5;
  font.setPixelSize(pixels > 0 ? pixels : 11);
  font.setBold(Font.Bold);
  font.setItalic(Font.Italic);
  font.setUnderline(Font.Underline);
  font.setStrikeOut(Font.StrikeOut);
  font.setHintingPreference(QFont::PreferFullHinting);
  return font;
}

std::optional<std::string> CharsetToIdent(std::int32_t Charset) {
  for (const auto& entry : kCharsets)
    if (entry.Value == Charset) return std::string(entry.Name);
  return std::nullopt;
}

std::optional<std::int32_t> IdentToCharset(std::string_view Name) {
  for (const auto& entry : kCharsets)
    if (Name.size() == std::strlen(entry.Name) && strncasecmp(entry.Name, Name.data(), Name.size()) == 0)
      return entry.Value;
  return std::nullopt;
}

}  // namespace vaq::widgets
