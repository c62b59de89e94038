// The suggestions pane under the grid: the stored translations of originals like the current row's,
// best first, each with its key (Ctrl+1..Ctrl+9), its similarity, the stored source with the words
// that differ from the row's original marked, and the stored translation. It shows what the window
// logic looked up; a double click or the key copies one into the current value.
#pragma once

#include <QLabel>
#include <QTreeWidget>
#include <QWidget>
#include <functional>

#include "host/core/translator_form.h"

namespace vaq::views {

// The stored source as rich text: its differing words marked.
QString MarkedSource(const TfrmVaqTranslatorForm::TSuggestionView& Suggestion);

class TSuggestionsPane : public QWidget {
 public:
  explicit TSuggestionsPane(QWidget* Parent = nullptr);

  // Shows the logic's suggestions of its current row.
  void Show(const TfrmVaqTranslatorForm& Logic);
  // Called with the 1-based number of the suggestion the user picks.
  std::function<void(int Number)> OnApply;

  QLabel* Title() const { return title_; }
  QTreeWidget* List() const { return list_; }

 private:
  QLabel* title_;
  QTreeWidget* list_;
  const TfrmVaqTranslatorForm* shownFor_ = nullptr;
  int shownRow_ = -2;
  std::size_t shownCount_ = 0;
  std::string shownProblem_;
};

}  // namespace vaq::views
