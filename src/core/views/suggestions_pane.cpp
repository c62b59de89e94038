// The suggestions pane under the grid.
#include "core/views/suggestions_pane.h"

#include <QHeaderView>
#include <QVBoxLayout>

namespace vaq::views {
namespace {

QString Utf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QString MarkedSource(const TfrmVaqTranslatorForm::TSuggestionView& Suggestion) {
  const std::string_view source = Suggestion.Source;
  QString html;
  std::size_t at = 0;
  for (const TWordDifference& word : Suggestion.Differences) {
    if (word.Begin < at || word.End > source.size()) continue;
    html += Utf8(source.substr(at, word.Begin - at)).toHtmlEscaped();
    const QString text = Utf8(source.substr(word.Begin, word.End - word.Begin)).toHtmlEscaped();
    html += word.Differs ? QStringLiteral("<span style=\"background-color:#ffd9a8; color:#8a3b00\"><b>") +
                               text + QStringLiteral("</b></span>")
                         : text;
    at = word.End;
  }
  html += Utf8(source.substr(std::min(at, source.size()))).toHtmlEscaped();
  return html;
}

TSuggestionsPane::TSuggestionsPane(QWidget* Parent) : QWidget(Parent) {
  setObjectName(QStringLiteral("pnlSuggestions"));
  title_ = new QLabel(this);
  title_->setObjectName(QStringLiteral("lblSuggestions"));
  title_->setContentsMargins(4, 2, 4, 2);
  list_ = new QTreeWidget(this);
  list_->setObjectName(QStringLiteral("tvSuggestions"));
  list_->setRootIsDecorated(false);
  list_->setHeaderLabels({QStringLiteral("Key"), QStringLiteral("Match"), QStringLiteral("Stored source"),
                          QStringLiteral("Translation")});
  list_->header()->setStretchLastSection(true);
  list_->setColumnWidth(0, 56);
  list_->setColumnWidth(1, 56);
  list_->setColumnWidth(2, 360);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setFocusPolicy(Qt::NoFocus);  // the keyboard stays in the grid; Ctrl+n picks
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(1);
  layout->addWidget(title_);
  layout->addWidget(list_, 1);
  connect(list_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
    if (OnApply) OnApply(list_->indexOfTopLevelItem(item) + 1);
  });
}

void TSuggestionsPane::Show(const TfrmVaqTranslatorForm& Logic) {
  const auto& suggestions = Logic.Suggestions();
  // Shown already: Sync runs often, the list changes only with the lookup.
  if (shownFor_ == &Logic && shownRow_ == Logic.SuggestionsRow() && shownCount_ == suggestions.size() &&
      shownProblem_ == Logic.SuggestionsProblem() &&
      list_->topLevelItemCount() == static_cast<int>(suggestions.size()))
    return;
  shownFor_ = &Logic;
  shownRow_ = Logic.SuggestionsRow();
  shownCount_ = suggestions.size();
  shownProblem_ = Logic.SuggestionsProblem();
  list_->clear();
  if (!shownProblem_.empty()) {
    title_->setText(QStringLiteral("Suggestions: the repository cannot be read: ") + Utf8(shownProblem_));
  } else if (suggestions.empty()) {
    title_->setText(QStringLiteral("Suggestions: none for this row"));
  } else {
    title_->setText(QStringLiteral("Suggestions for row %1 (Ctrl+1 to Ctrl+%2 copies one into the value)")
                        .arg(Logic.VaqGrid.DisplayNumber(shownRow_))
                        .arg(suggestions.size()));
  }
  for (std::size_t i = 0; i < suggestions.size(); ++i) {
    const auto& suggestion = suggestions[i];
    auto* item = new QTreeWidgetItem(list_);
    item->setText(0, QStringLiteral("Ctrl+%1").arg(i + 1));
    item->setText(1, QStringLiteral("%1%").arg(suggestion.Similarity));
    item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    item->setText(3, Utf8(suggestion.Translation));
    item->setData(2, Qt::UserRole, Utf8(suggestion.Source));
    item->setToolTip(2, Utf8(suggestion.Source));
    item->setToolTip(3, Utf8(suggestion.Translation));
    auto* source = new QLabel(MarkedSource(suggestion));
    source->setTextFormat(Qt::RichText);
    source->setContentsMargins(3, 0, 3, 0);
    list_->setItemWidget(item, 2, source);
  }
}

}  // namespace vaq::views
