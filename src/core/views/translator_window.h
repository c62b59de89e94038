// The translation window on Qt Widgets: the file list of the language folder (grouped by folder,
// with translated and untranslated counts), the grid of the open notes file, menus and a toolbar
// made from the window logic's actions, the grid's edit menu, filters, the search window, the
// file-level services, the options dialog and a status bar with the counts and the current record.
// Every decision is the logic's (TfrmVaqTranslatorForm); this class only shows it and forwards
// the user's input.
#pragma once

#include <QActionGroup>
#include <QLabel>
#include <QMainWindow>
#include <QTableView>
#include <QTimer>
#include <QTreeWidget>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "core/views/grid_model.h"
#include "core/views/message_boxes.h"
#include "core/views/search_dialog.h"
#include "core/views/suggestions_pane.h"
#include "host/core/translator_form.h"

namespace vaq::views {

class TTranslatorWindow : public QMainWindow {
 public:
  // Pictures of the image list: the core draws 0..9; a file type may supply its own indices.
  using TIconProvider = std::function<QIcon(int ImageIndex)>;
  // Draws over a grid cell after it was painted (the file type's separator lines).
  using TDrawCell = std::function<void(QPainter& Painter, const QRect& Rect, int Column, int GridRow)>;

  explicit TTranslatorWindow(TfrmVaqTranslatorForm& Logic, QWidget* Parent = nullptr);
  ~TTranslatorWindow() override;

  void SetIconProvider(TIconProvider Provider) { iconProvider_ = std::move(Provider); }
  void SetDrawCell(TDrawCell Draw) { drawCell_ = std::move(Draw); }
  const TDrawCell& DrawCell() const { return drawCell_; }
  // Builds menus and toolbar from the logic's actions; call once, after the logic's FormCreate and
  // the file type's hooks.
  void Build();

  // Lists files in the file list (through the logic, with their statistics).
  void SetFiles(const std::string& BaseFolder, const std::vector<std::string>& Files);
  // Opens a file in the grid, asking about unsaved changes first; errors are shown. False when the
  // file was not opened.
  bool OpenFile(const std::string& FileName);
  // Shows the logic's state: actions, buttons, title, status bar, current cell, file counts.
  void Sync();
  // Shows ShowError's messages as message boxes while the window lives (on by default).
  void SetErrorBoxes(bool On);
  // With no one to answer (no display, a window that only renders a picture): no dialog opens;
  // messages go to standard error and are counted, questions take their default answer.
  void SetUnattended(bool On);
  // Errors and warnings reported since SetUnattended(true).
  int UnattendedProblems() const { return unattendedSink_ ? unattendedSink_->Problems() : 0; }
  // Whether the logic's Idle runs when the event loop has nothing else to do (on by default; off
  // for a window that only renders a picture, whose hidden previews no one opens).
  void SetIdleWork(bool On) { idleWork_ = On; }

  QTableView* Grid() const { return grid_; }
  TGridModel* Model() const { return model_; }
  QTreeWidget* FileList() const { return files_; }
  QAction* Action(const std::string& Name) const;
  QMenu* EditMenu() const { return editMenu_; }
  TSearchDialog* SearchDialog();
  // Fills a menu with the grid's edit menu as the logic builds it (what a right click shows).
  void FillPopupMenu(QMenu& Menu);
  QLabel* CountsLabel() const { return counts_; }
  TSuggestionsPane* Suggestions() const { return suggestions_; }
  QLabel* IdLabel() const { return currentId_; }
  TfrmVaqTranslatorForm& Logic() const { return logic_; }
  // The icon of an image index.
  QIcon Icon(int ImageIndex) const;
  // The files the file-level services act on: the selected ones, else the open one.
  std::vector<std::string> ServiceFiles() const;
  void RunService(TListEvent Event);
  void ShowStatistics();
  void ShowOptions();

 protected:
  void closeEvent(QCloseEvent* Event) override;
  void hideEvent(QHideEvent* Event) override;
  void showEvent(QShowEvent* Event) override;

 private:
  void SyncSelectionToLogic();
  void FillFileList();
  void ShowFileCounts(QTreeWidgetItem& Item, const TVaqFileEntry& Entry);
  void MakeCurrentVisible();

  TfrmVaqTranslatorForm& logic_;
  TQtMessageBoxes boxes_;
  std::unique_ptr<ScopedMessageSink> sink_;
  const TCountingStderrSink* unattendedSink_ = nullptr;  // owned by sink_
  QLabel* readOnly_ = nullptr;
  TSuggestionsPane* suggestions_ = nullptr;
  TIconProvider iconProvider_;
  TDrawCell drawCell_;
  QTableView* grid_ = nullptr;
  TGridModel* model_ = nullptr;
  QTreeWidget* files_ = nullptr;
  QLabel* counts_ = nullptr;
  QLabel* currentId_ = nullptr;
  QLabel* fileLabel_ = nullptr;
  QMenu* editMenu_ = nullptr;
  QActionGroup* filters_ = nullptr;
  TSearchDialog* search_ = nullptr;
  std::map<std::string, QAction*> actions_;
  QTimer* idle_ = nullptr;
  bool idleWork_ = true;
  bool syncing_ = false;
  bool built_ = false;
  bool closing_ = false;
};

// The core's pictures 0..9 (grid actions, navigation), drawn at 16 by 16 pixels.
QIcon CoreIcon(int ImageIndex);

}  // namespace vaq::views
