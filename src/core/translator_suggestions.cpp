// The editor window's suggestions from the translation repository, and the translations its save
// hands to the repository.
#include <algorithm>

#include "core/values/string_notation.h"
#include "core/values/value_kinds.h"
#include "host/core/conversions.h"
#include "host/core/errors.h"
#include "host/core/options.h"
#include "host/core/translator_form.h"

namespace vaq {

void TfrmVaqTranslatorForm::UpdateSuggestions() {
  const int row = VaqGrid.Row;
  const int orig = EnumToCol(kColOrig);
  const bool text = Mgr && VaqGrid.HasRows && VaqGrid.GetShowRow(row) && IsTextRow(row);
  const std::string original = text ? std::string(VaqGrid.Cell(orig, row)) : std::string();
  if (row == suggestionsRow_ && original == suggestionsFor_) return;
  suggestionsRow_ = row;
  suggestionsFor_ = original;
  suggestions_.clear();
  suggestionsProblem_.clear();
  if (!text) return;
  const std::string asked = values::DecodeStringUtf8(original, VaqGrid.OrigLCID).value_or(std::string());
  if (asked.empty()) return;
  try {
    for (TSuggestion& found : FindSimilarTranslations(VaqGrid.OrigLCID, VaqGrid.XlatLCID, asked,
                                                      kDefaultMinSimilarity, kMaxSuggestions)) {
      TSuggestionView view;
      view.Similarity = found.Similarity;
      view.Differences = DiffWords(asked, found.SourceText);
      view.Source = std::move(found.SourceText);
      view.Translation = std::move(found.TranslationText);
      view.Stored = std::move(found.Translation);
      suggestions_.push_back(std::move(view));
    }
  } catch (const EVaqError& error) {
    suggestionsProblem_ = error.what();
  }
}

bool TfrmVaqTranslatorForm::ApplySuggestion(int Number) {
  if (Number < 1 || Number > static_cast<int>(suggestions_.size()) || suggestionsRow_ != VaqGrid.Row)
    return false;
  const int curr = EnumToCol(kColCurr);
  if (curr < 0 || ReadOnly) return false;
  const TSuggestionView& chosen = suggestions_[static_cast<std::size_t>(Number - 1)];
  return EditCell(curr, VaqGrid.Row, chosen.Stored);
}

std::vector<TTranslationPair> TfrmVaqTranslatorForm::TranslationsToStore() const {
  std::vector<TTranslationPair> pairs;
  const int orig = EnumToCol(kColOrig);
  const int curr = EnumToCol(kColCurr);
  const int status = EnumToCol(kColStatus);
  if (orig < 0 || curr < 0 || status < 0) return pairs;
  for (int r = VaqGrid.FixedRows(); r < VaqGrid.RowCount(); ++r) {
    if (!VaqGrid.RowChanged(r) || !IsTextRow(r)) continue;
    const int ord = StrToStatusOrd(VaqGrid.Cell(status, r));
    if (ord != 1 && ord != 2) continue;
    pairs.push_back({std::string(VaqGrid.Cell(orig, r)), std::string(VaqGrid.Cell(curr, r))});
  }
  return pairs;
}

void TfrmVaqTranslatorForm::StoreTranslations(const std::vector<TTranslationPair>& Pairs) {
  if (Pairs.empty() || !VaqINTOptionProps.GetBool(kOptAddToRepositoryOnSave)) return;
  try {
    AddTranslations(VaqGrid.OrigLCID, VaqGrid.XlatLCID, Pairs);
    StatusMessage = std::to_string(Pairs.size()) + (Pairs.size() == 1 ? " translation" : " translations") +
                    " added to the repository";
  } catch (const EVaqError& error) {
    // The notes are saved; the repository only misses what it would have learnt.
    StatusMessage =
        std::string("Saved, but the translations were not added to the repository: ") + error.what();
  }
}

}  // namespace vaq
