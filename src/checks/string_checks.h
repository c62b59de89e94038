// The checks that read the texts of the notes alone, without the live form.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "checks/checked_form.h"
#include "checks/finding.h"

namespace rux::checks {

// The accelerator of a caption: the character after the first single "&", case-folded ("&&" is a
// literal ampersand; an "&" before a blank or at the end marks nothing).
std::optional<char32_t> AcceleratorOf(std::u16string_view Text);

// Whether a text carries an accelerator in the running program: captions of controls and menu
// items and the items of radio groups (not the form's own caption, hints, list items or
// collection items such as list view columns).
bool CarriesAccelerator(const TCheckedText& Text);

// Accelerators: two controls of one window (every control of the form that is not a menu item), or
// two items of one menu level (menu items of one parent), whose translations use the same letter,
// where the originals did not already share it: one finding for each text of such a clash, naming
// the others. And a text whose original has an accelerator and whose translation lost it.
void CheckAccelerators(const TCheckedForm& Form, std::vector<TFinding>& Findings);

// Consistency of each translation with its original: placeholders (%s, %d, %1:s, %-10s, %.2f, {0}),
// leading and trailing blanks, a final colon or ellipsis, the number of lines, the number of
// elements of a "|"-separated list (hints, file filters); and each list of the form keeps its
// number of elements in the translated form.
void CheckConsistency(const TCheckedForm& Form, std::vector<TFinding>& Findings);

// A translatable text with a letter whose current value equals the original while its status is
// Untranslated. Font names are left alone: they are meant to stay.
void CheckUntranslated(const TCheckedForm& Form, std::vector<TFinding>& Findings);

// The placeholders of a text in their order: "%s", "%1:s", "%-10s", "{0}", ...; "%%" is none.
std::vector<std::string> PlaceholdersOf(std::u16string_view Text);

}  // namespace rux::checks
