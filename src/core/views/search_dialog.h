// The search window: text, case, whole word, ignore accelerators, the column check-list and the
// scope (the open file or all listed files); the hits are listed, and a double click on one goes
// to its cell in the grid window.
#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QTreeWidget>
#include <functional>
#include <vector>

#include "host/core/translator_form.h"

namespace vaq::views {

class TSearchDialog : public QDialog {
 public:
  TSearchDialog(TfrmVaqTranslatorForm& Window, QWidget* Parent = nullptr);
  // Runs the search with the dialog's settings and lists the hits; returns their count.
  int Find();
  // Goes to the hit of a result row (what a double click does).
  void GoToHit(int Index);
  // Called after a hit was opened in the grid.
  std::function<void()> OnGoTo;

  QLineEdit* Text;
  QCheckBox* CaseSensitive;
  QCheckBox* WholeWord;
  QCheckBox* IgnoreAccelerators;
  QCheckBox* AllFiles;
  QListWidget* Columns;
  QTreeWidget* Results;
  const std::vector<TVaqSearchHit>& Hits() const { return hits_; }

 private:
  TfrmVaqTranslatorForm& window_;
  std::vector<TVaqSearchHit> hits_;
};

}  // namespace vaq::views
