// The accelerator check: clashes in one window or one menu level, and lost accelerators.
#include <unicode/uchar.h>
#include <unicode/utf16.h>

#include <map>

#include "checks/string_checks.h"
#include "core/values/string_notation.h"
#include "host/core/locale.h"
#include "host/core/text.h"

namespace rux::checks {
namespace {

std::string Utf8(std::u16string_view text) {
  return vaq::values::OneLineText(text);
}

std::string LetterText(char32_t letter) {
  char16_t units[2];
  std::size_t n = 0;
  U16_APPEND_UNSAFE(units, n, static_cast<UChar32>(u_toupper(static_cast<UChar32>(letter))));
  return Utf8(std::u16string_view(units, n));
}

bool IsMenuItem(const TCheckedText& text) {
  return vaq::AnsiSameText(text.ClassName, "TMenuItem");
}

bool IsRadioGroupItem(const TCheckedText& text) {
  return vaq::AnsiSameText(text.ClassName, "TRadioGroup") && text.Property.starts_with("Items.Strings[");
}

struct Member {
  const TCheckedText* Text;
  std::optional<char32_t> Original;
};

}  // namespace

std::optional<char32_t> AcceleratorOf(std::u16string_view Text) {
  for (std::size_t i = 0; i < Text.size(); ++i) {
    if (Text[i] != u'&') continue;
    if (i + 1 == Text.size()) return std::nullopt;
    if (Text[i + 1] == u'&') {
      ++i;
      continue;
    }
    UChar32 c = 0;
    std::size_t next = i + 1;
    U16_NEXT(Text.data(), next, Text.size(), c);
    if (u_isUWhiteSpace(c)) return std::nullopt;
    return static_cast<char32_t>(u_foldCase(c, U_FOLD_CASE_DEFAULT));
  }
  return std::nullopt;
}

bool CarriesAccelerator(const TCheckedText& Text) {
  if (Text.ParentPath.empty() || Text.CollectionItem) return false;
  return Text.Property == "Caption" || IsRadioGroupItem(Text);
}

void CheckAccelerators(const TCheckedForm& Form, std::vector<TFinding>& Findings) {
  // Clash groups: the window (key "") and each menu level (key: the parent's path).
  std::map<std::string, std::map<char32_t, std::vector<Member>>> groups;
  for (const TCheckedText& text : Form.Texts) {
    if (!CarriesAccelerator(text)) continue;
    const std::optional<char32_t> original = AcceleratorOf(text.Orig);
    const std::optional<char32_t> current = AcceleratorOf(text.Curr);
    if (original && !current) {
      Findings.push_back({Form.File, text.Id, TFindingKind::Accelerators,
                          "the translation '" + Utf8(text.Curr) + "' lost the accelerator &" +
                              LetterText(*original) + " of '" + Utf8(text.Orig) + "'",
                          std::nullopt});
    }
    if (!current) continue;
    const std::string key = IsMenuItem(text) ? "menu " + text.ParentPath : std::string();
    groups[key][*current].push_back({&text, original});
  }

  // Findings in the order of the texts: collect per text first.
  std::map<const TCheckedText*, TFinding> clashes;
  for (const auto& [key, letters] : groups) {
    for (const auto& [letter, members] : letters) {
      if (members.size() < 2) continue;
      for (const Member& member : members) {
        std::string others;
        for (const Member& other : members) {
          if (other.Text == member.Text) continue;
          if (member.Original && other.Original && *member.Original == *other.Original) continue;
          others += others.empty() ? "" : ", ";
          others += other.Text->Id + " ('" + Utf8(other.Text->Curr) + "')";
        }
        if (others.empty()) continue;
        const std::string where = key.empty() ? "in the window" : "in the menu";
        clashes[member.Text] = {Form.File, member.Text->Id, TFindingKind::Accelerators,
                                "'" + Utf8(member.Text->Curr) + "': &" + LetterText(letter) + " is used " +
                                    where + " also by " + others,
                                std::nullopt};
      }
    }
  }
  for (const TCheckedText& text : Form.Texts) {
    auto it = clashes.find(&text);
    if (it != clashes.end()) Findings.push_back(std::move(it->second));
  }
}

}  // namespace rux::checks
