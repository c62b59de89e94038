// The translation window on Qt Widgets.
#include "core/views/translator_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPainterPath>
#include <QPersistentModelIndex>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusBar>
#include <QStyledItemDelegate>
#include <QToolBar>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>
#include <optional>
#include <vector>

#include "core/views/options_dialog.h"
#include "host/core/conversions.h"
#include "host/core/errors.h"
#include "host/core/options.h"

namespace vaq::views {
namespace {

QString Q(const std::string& text) {
  return QString::fromStdString(text);
}

// Cell editors: a drop-down of the statuses, text for string values (several lines when the value
// holds line breaks), the notation for everything else. Cells are painted by the base, then the
// file type draws over them.
class TGridDelegate : public QStyledItemDelegate {
 public:
  TGridDelegate(TTranslatorWindow& Window, QObject* Parent) : QStyledItemDelegate(Parent), window_(Window) {}

  QWidget* createEditor(QWidget* Parent, const QStyleOptionViewItem& Option,
                        const QModelIndex& Index) const override {
    TfrmVaqTranslatorForm& logic = window_.Logic();
    const int row = window_.Model()->GridRow(Index.row());
    if (logic.ColToEnum(Index.column()) == kColStatus) {
      auto* box = new QComboBox(Parent);
      for (const auto& name : XStatusString)
        box->addItem(QString::fromUtf8(name.data(), static_cast<int>(name.size())));
      return box;
    }
    if (row >= 0 && logic.CellEditText(Index.column(), row).find('\n') != std::string::npos) {
      auto* edit = new QPlainTextEdit(Parent);
      edit->setTabChangesFocus(true);
      return edit;
    }
    return QStyledItemDelegate::createEditor(Parent, Option, Index);
  }

  void setEditorData(QWidget* Editor, const QModelIndex& Index) const override {
    QString text = Index.data(Qt::EditRole).toString();
    if (pending_ && *pending_ == Index) text = pendingText_;  // the text typed last time, to change
    if (auto* box = dynamic_cast<QComboBox*>(Editor)) {
      box->setCurrentText(text);
    } else if (auto* edit = dynamic_cast<QPlainTextEdit*>(Editor)) {
      edit->setPlainText(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    } else if (auto* line = dynamic_cast<QLineEdit*>(Editor)) {
      line->setText(text);
    } else {
      QStyledItemDelegate::setEditorData(Editor, Index);
    }
  }

  void destroyEditor(QWidget* Editor, const QModelIndex& Index) const override {
    // The editor that held the typed text goes; one opened later starts from the cell.
    if (pending_ && *pending_ == Index && !reopening_) pending_.reset();
    reopening_ = false;
    QStyledItemDelegate::destroyEditor(Editor, Index);
  }

  void setModelData(QWidget* Editor, QAbstractItemModel* Model, const QModelIndex& Index) const override {
    pending_.reset();
    QString text;
    if (auto* box = dynamic_cast<QComboBox*>(Editor)) {
      text = box->currentText();
    } else if (auto* edit = dynamic_cast<QPlainTextEdit*>(Editor)) {
      // Line breaks of form texts are CR LF.
      text = edit->toPlainText().replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    } else if (auto* line = dynamic_cast<QLineEdit*>(Editor)) {
      text = line->text();
    } else {
      QStyledItemDelegate::setModelData(Editor, Model, Index);
      window_.Sync();
      return;
    }
    TfrmVaqTranslatorForm& logic = window_.Logic();
    const int row = window_.Model()->GridRow(Index.row());
    const std::string problem = row >= 0 ? logic.StoreProblem(Index.column(), row, text.toStdString()) : "";
    if (!problem.empty()) {
      // What the notes cannot store is not lost: the cell editor opens again with the typed text.
      pending_ = QPersistentModelIndex(Index);
      pendingText_ = text;
      reopening_ = true;
      QPointer<QAbstractItemView> view = window_.Grid();
      QTimer::singleShot(0, view, [this, view, problem] {
        if (!view || !pending_ || !pending_->isValid()) return;
        window_.Logic().MessageBoxes().MessageDlg(
            problem + "\nChange the text, or press Esc to keep the cell as it is.", TMsgDlgType::Error,
            TMsgDlgButtons::Ok, TModalResult::Ok);
        if (!view || !pending_ || !pending_->isValid()) return;
        view->setCurrentIndex(*pending_);
        view->edit(*pending_);
      });
      return;
    }
    Model->setData(Index, text);
    window_.Sync();
  }

  void updateEditorGeometry(QWidget* Editor, const QStyleOptionViewItem& Option,
                            const QModelIndex&) const override {
    QRect rect = Option.rect;
    if (dynamic_cast<QPlainTextEdit*>(Editor)) rect.setHeight(std::max(rect.height() * 4, 80));
    Editor->setGeometry(rect);
  }

  void paint(QPainter* Painter, const QStyleOptionViewItem& Option, const QModelIndex& Index) const override {
    QStyledItemDelegate::paint(Painter, Option, Index);
    // The grid lines: right and bottom edge of every cell (the view draws none, so that a file
    // type's lines over them are not painted over).
    Painter->save();
    Painter->setPen(QColor(218, 218, 218));
    Painter->drawLine(Option.rect.topRight(), Option.rect.bottomRight());
    Painter->drawLine(Option.rect.bottomLeft(), Option.rect.bottomRight());
    Painter->restore();
    if (!window_.DrawCell()) return;
    const int row = window_.Model()->GridRow(Index.row());
    if (row < 0) return;
    Painter->save();
    window_.DrawCell()(*Painter, Option.rect, Index.column(), row);
    Painter->restore();
  }

 private:
  TTranslatorWindow& window_;
  // A cell whose typed text could not be stored, and that text, for the editor opened again.
  mutable std::optional<QPersistentModelIndex> pending_;
  mutable QString pendingText_;
  mutable bool reopening_ = false;  // the editor closing now opens again with pendingText_
};

void DrawArrow(QPainter& p, bool down, const QColor& color) {
  p.setPen(Qt::NoPen);
  p.setBrush(color);
  QPolygonF arrow;
  if (down) {
    arrow << QPointF(4, 3) << QPointF(12, 3) << QPointF(12, 8) << QPointF(15, 8) << QPointF(8, 15)
          << QPointF(1, 8) << QPointF(4, 8);
  } else {
    arrow << QPointF(4, 13) << QPointF(12, 13) << QPointF(12, 8) << QPointF(15, 8) << QPointF(8, 1)
          << QPointF(1, 8) << QPointF(4, 8);
  }
  p.drawPolygon(arrow);
}

}  // namespace

QIcon CoreIcon(int ImageIndex) {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  switch (ImageIndex) {
    case 0:  // copy the original: two sheets
      p.setPen(QColor(60, 60, 60));
      p.setBrush(QColor(250, 250, 250));
      p.drawRect(QRectF(1.5, 1.5, 8, 10));
      p.setBrush(QColor(255, 244, 200));
      p.drawRect(QRectF(6.5, 4.5, 8, 10));
      p.drawLine(QPointF(8.5, 8), QPointF(12.5, 8));
      p.drawLine(QPointF(8.5, 11), QPointF(12.5, 11));
      break;
    case 1:  // translated: a green tick
      p.setPen(QPen(QColor(30, 140, 50), 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      p.drawPolyline(QPolygonF({QPointF(2.5, 8.5), QPointF(6.5, 12.5), QPointF(13.5, 3.5)}));
      break;
    case 2:  // untranslated: an orange ring with a bar
      p.setPen(QPen(QColor(220, 110, 20), 2.2));
      p.drawEllipse(QRectF(2, 2, 12, 12));
      p.drawLine(QPointF(5, 8), QPointF(11, 8));
      break;
    case 3: {  // restore: a curved arrow back
      p.setPen(QPen(QColor(40, 90, 170), 2.0, Qt::SolidLine, Qt::RoundCap));
      QPainterPath path;
      path.moveTo(4, 6);
      path.cubicTo(9, 2, 15, 6, 13, 11);
      path.cubicTo(12, 13.5, 9, 14, 7, 13.5);
      p.drawPath(path);
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(40, 90, 170));
      p.drawPolygon(QPolygonF({QPointF(1, 7), QPointF(7, 2), QPointF(7.5, 9)}));
      break;
    }
    case 4:  // repository: a database cylinder
      p.setPen(QColor(50, 70, 110));
      p.setBrush(QColor(150, 180, 230));
      p.drawRect(QRectF(3, 4, 10, 9));
      p.drawEllipse(QRectF(3, 11, 10, 4));
      p.setBrush(QColor(200, 220, 250));
      p.drawEllipse(QRectF(3, 2, 10, 4));
      break;
    case 5:  // comment: a speech bubble
      p.setPen(QColor(120, 100, 30));
      p.setBrush(QColor(255, 236, 140));
      p.drawRoundedRect(QRectF(1.5, 2.5, 13, 8.5), 2.5, 2.5);
      p.drawPolygon(QPolygonF({QPointF(4, 10.5), QPointF(4, 14.5), QPointF(8, 10.5)}));
      break;
    case 6:  // next untranslated
      DrawArrow(p, true, QColor(220, 110, 20));
      break;
    case 7:  // previous untranslated
      DrawArrow(p, false, QColor(220, 110, 20));
      break;
    case 8:  // next untranslated text: the arrow beside a letter
    case 9: {
      p.save();
      p.translate(5, 0);
      p.scale(0.7, 1.0);
      DrawArrow(p, ImageIndex == 8, QColor(220, 110, 20));
      p.restore();
      QFont font = p.font();
      font.setPixelSize(10);
      font.setBold(true);
      p.setFont(font);
      p.setPen(QColor(40, 70, 140));
      p.drawText(QRectF(0, 0, 8, 16), Qt::AlignCenter, QStringLiteral("a"));
      break;
    }
    default:
      break;
  }
  return QIcon(pixmap);
}

TTranslatorWindow::TTranslatorWindow(TfrmVaqTranslatorForm& Logic, QWidget* Parent)
    : QMainWindow(Parent), logic_(Logic), boxes_(this) {
  setObjectName(QStringLiteral("frmVaqTranslator"));
  logic_.SetMessageBoxes(&boxes_);

  files_ = new QTreeWidget(this);
  files_->setObjectName(QStringLiteral("tvFiles"));
  files_->setHeaderLabels({QStringLiteral("Form"), QStringLiteral("Done"), QStringLiteral("Open")});
  files_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  files_->header()->setStretchLastSection(false);
  files_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
  files_->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
  files_->header()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
  files_->setMinimumWidth(150);

  model_ = new TGridModel(logic_, this);
  grid_ = new QTableView(this);
  grid_->setObjectName(QStringLiteral("VaqGrid"));
  grid_->setModel(model_);
  grid_->setItemDelegate(new TGridDelegate(*this, grid_));
  grid_->setSelectionBehavior(QAbstractItemView::SelectItems);
  grid_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  grid_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                         QAbstractItemView::AnyKeyPressed);
  grid_->verticalHeader()->hide();
  grid_->verticalHeader()->setDefaultSectionSize(QFontMetrics(font()).height() + 6);
  grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid_->horizontalHeader()->setHighlightSections(false);
  grid_->horizontalHeader()->setStretchLastSection(true);
  grid_->setWordWrap(false);
  grid_->setShowGrid(false);
  grid_->setTextElideMode(Qt::ElideRight);
  grid_->setContextMenuPolicy(Qt::CustomContextMenu);
  // Row heights are fixed, so the view never measures rows it does not show.
  grid_->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);

  fileLabel_ = new QLabel(this);
  fileLabel_->setObjectName(QStringLiteral("lblFile"));
  fileLabel_->setContentsMargins(4, 2, 4, 2);
  auto* right = new QWidget(this);
  auto* rightLayout = new QVBoxLayout(right);
  rightLayout->setContentsMargins(0, 0, 0, 0);
  rightLayout->setSpacing(2);
  suggestions_ = new TSuggestionsPane(this);
  suggestions_->OnApply = [this](int number) {
    logic_.ApplySuggestion(number);
    Sync();
  };
  auto* gridAndSuggestions = new QSplitter(Qt::Vertical, this);
  gridAndSuggestions->setObjectName(QStringLiteral("splGrid"));
  gridAndSuggestions->addWidget(grid_);
  gridAndSuggestions->addWidget(suggestions_);
  gridAndSuggestions->setStretchFactor(0, 1);
  gridAndSuggestions->setSizes({460, 120});
  rightLayout->addWidget(fileLabel_);
  rightLayout->addWidget(gridAndSuggestions, 1);

  auto* splitter = new QSplitter(this);
  splitter->addWidget(files_);
  splitter->addWidget(right);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({250, 930});
  setCentralWidget(splitter);

  counts_ = new QLabel(this);
  counts_->setObjectName(QStringLiteral("lblCounts"));
  currentId_ = new QLabel(this);
  currentId_->setObjectName(QStringLiteral("lblCurrentId"));
  readOnly_ = new QLabel(this);
  readOnly_->setObjectName(QStringLiteral("lblReadOnly"));
  readOnly_->setStyleSheet(QStringLiteral("QLabel { color: #a04000; }"));
  readOnly_->hide();
  statusBar()->addWidget(counts_);
  statusBar()->addWidget(currentId_, 1);
  statusBar()->addPermanentWidget(readOnly_);

  logic_.VaqGrid.OnChanged = [this](bool structure) {
    // A reset would close an open cell editor; cell texts alone only repaint.
    if (structure) {
      model_->Reset();
    } else {
      model_->Refresh();
    }
    if (!syncing_) Sync();
  };
  logic_.VaqGrid.OnCellChanged = [this](int column, int row) { model_->CellChanged(column, row); };
  logic_.OnStateChanged = [this] {
    if (!syncing_) Sync();
  };

  connect(files_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
    const QString file = item->data(0, Qt::UserRole).toString();
    if (!file.isEmpty()) OpenFile(file.toStdString());
  });
  connect(grid_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) {
            if (syncing_ || !current.isValid()) return;
            logic_.VaqGrid.SetCurrent(current.column(), model_->GridRow(current.row()));
            Sync();
          });
  connect(grid_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          [this] { SyncSelectionToLogic(); });
  connect(grid_, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
    QMenu menu(this);
    FillPopupMenu(menu);
    menu.exec(grid_->viewport()->mapToGlobal(pos));
  });
  // Idle work of the logic (a preview built in advance) runs once the events of the moment are
  // handled: after the grid painted.
  idle_ = new QTimer(this);
  idle_->setSingleShot(true);
  idle_->setInterval(0);
  connect(idle_, &QTimer::timeout, this, [this] {
    if (idleWork_) logic_.Idle();
  });
  SetErrorBoxes(true);
  resize(1180, 640);
}

TTranslatorWindow::~TTranslatorWindow() {
  logic_.VaqGrid.OnChanged = nullptr;
  logic_.VaqGrid.OnCellChanged = nullptr;
  logic_.OnStateChanged = nullptr;
  logic_.SetMessageBoxes(nullptr);
  sink_.reset();
}

void TTranslatorWindow::SetErrorBoxes(bool On) {
  sink_.reset();
  unattendedSink_ = nullptr;
  if (On) sink_ = std::make_unique<ScopedMessageSink>(std::make_unique<TMessageBoxSink>(this));
}

void TTranslatorWindow::SetUnattended(bool On) {
  boxes_.SetUnattended(On);
  if (!On) {
    SetErrorBoxes(true);
    return;
  }
  sink_.reset();
  auto sink = std::make_unique<TCountingStderrSink>();
  unattendedSink_ = sink.get();
  sink_ = std::make_unique<ScopedMessageSink>(std::move(sink));
}

QIcon TTranslatorWindow::Icon(int ImageIndex) const {
  if (iconProvider_) {
    QIcon icon = iconProvider_(ImageIndex);
    if (!icon.isNull()) return icon;
  }
  return CoreIcon(ImageIndex);
}

QAction* TTranslatorWindow::Action(const std::string& Name) const {
  const auto it = actions_.find(Name);
  return it != actions_.end() ? it->second : nullptr;
}

void TTranslatorWindow::Build() {
  if (built_) return;
  built_ = true;
  for (const auto& action : logic_.Actions) {
    auto* qaction = new QAction(Icon(action->ImageIndex), Q(action->Caption), this);
    qaction->setObjectName(Q(action->Name));
    qaction->setToolTip(Q(action->Hint));
    qaction->setStatusTip(Q(action->Hint));
    if (action->ShortCut) qaction->setShortcut(QKeySequence(Q(ShortCutToText(action->ShortCut))));
    qaction->setShortcutContext(Qt::WindowShortcut);
    TVaqAction* logicAction = action.get();
    connect(qaction, &QAction::triggered, this, [this, logicAction, qaction] {
      logicAction->Update();
      if (!logicAction->Enabled) return;
      // A triggered check-style action must show the logic's state, not Qt's toggle.
      logicAction->OnExecute(&logic_);
      Sync();
      (void)qaction;
    });
    actions_[action->Name] = qaction;
  }
  // Check-style buttons show the down state of their button.
  for (const TVaqToolButton& button : logic_.ToolBar) {
    if (QAction* action = Action(button.ActionName)) {
      action->setCheckable(button.CheckStyle || button.Name == "tbOnTopMode");
    }
  }

  // File menu.
  QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
  auto* save = file->addAction(QStringLiteral("&Save"), this, [this] {
    logic_.SaveToFile();
    Sync();
  });
  save->setObjectName(QStringLiteral("FileSave"));
  save->setShortcut(QKeySequence::Save);
  actions_["FileSave"] = save;
  file->addSeparator();
  auto* stats = file->addAction(QStringLiteral("S&tatistics"), this, [this] { ShowStatistics(); });
  actions_["FileStatistics"] = stats;
  actions_["FilePurge"] = file->addAction(QStringLiteral("&Purge unused records"), this,
                                          [this] { RunService(TListEvent::Purge); });
  actions_["FilePseudo"] = file->addAction(QStringLiteral("Pseudo-&translate"), this,
                                           [this] { RunService(TListEvent::PseudoTranslate); });
  actions_["FileDictionary"] = file->addAction(QStringLiteral("Export &dictionary..."), this,
                                               [this] { RunService(TListEvent::Dictionary); });
  file->addSeparator();
  file->addAction(QStringLiteral("&Close"), this, [this] { close(); })->setShortcut(QKeySequence::Close);

  // Edit menu: the grid actions, navigation, the set-value items, search.
  editMenu_ = menuBar()->addMenu(QStringLiteral("&Edit"));
  for (int i = 0; i < kGridActionCount; ++i) editMenu_->addAction(Action(logic_.GridActions[i]->Name));
  editMenu_->addSeparator();
  editMenu_->addAction(Action("EditNextUntranslated"));
  editMenu_->addAction(Action("EditPrevUntranslated"));
  editMenu_->addAction(Action("EditNextUntranslatedText"));
  editMenu_->addAction(Action("EditPrevUntranslatedText"));
  editMenu_->addSeparator();
  // The suggestions of the pane, by their keys.
  QMenu* suggestionsMenu = editMenu_->addMenu(QStringLiteral("Use s&uggestion"));
  for (int i = 1; i <= TfrmVaqTranslatorForm::kMaxSuggestions; ++i) {
    QAction* use = suggestionsMenu->addAction(QStringLiteral("Suggestion &%1").arg(i), this, [this, i] {
      logic_.ApplySuggestion(i);
      Sync();
    });
    use->setObjectName(QStringLiteral("EditSuggestion%1").arg(i));
    use->setShortcut(QKeySequence(QStringLiteral("Ctrl+%1").arg(i)));
    use->setShortcutContext(Qt::WindowShortcut);
    actions_["EditSuggestion" + std::to_string(i)] = use;
  }
  QMenu* setValue = editMenu_->addMenu(QStringLiteral("Set &value"));
  connect(setValue, &QMenu::aboutToShow, this, [this, setValue] {
    setValue->clear();
    logic_.PopupEditMenu();
    for (const auto& item : logic_.EditMenuItem->Items) {
      TVaqMenuItem* logicItem = item.get();
      QAction* action = setValue->addAction(Q(item->Caption), this, [this, logicItem] {
        logicItem->OnClick(*logicItem);
        Sync();
      });
      action->setEnabled(item->Enabled);
    }
  });
  editMenu_->addSeparator();
  auto* find = editMenu_->addAction(QStringLiteral("&Find..."), this, [this] {
    SearchDialog()->show();
    SearchDialog()->raise();
    SearchDialog()->Text->setFocus();
  });
  find->setShortcut(QKeySequence::Find);
  actions_["EditFind"] = find;

  // View menu: filters.
  QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
  filters_ = new QActionGroup(this);
  for (int i = 0; i < kFilterCount; ++i) {
    const std::string_view name = FilterName(static_cast<TVaqFilter>(i));
    QAction* action = view->addAction(QString::fromUtf8(name.data(), static_cast<int>(name.size())));
    action->setCheckable(true);
    action->setChecked(i == 0);
    action->setObjectName(QStringLiteral("Filter%1").arg(i));
    if (const std::uint32_t key = FilterShortCut(static_cast<TVaqFilter>(i))) {
      action->setShortcut(QKeySequence(Q(ShortCutToText(key))));
      action->setShortcutContext(Qt::WindowShortcut);
    }
    actions_["Filter" + std::to_string(i)] = action;
    filters_->addAction(action);
    connect(action, &QAction::triggered, this, [this, i] {
      logic_.VaqGridProcessFilters(&logic_, i, true);
      Sync();
    });
  }

  // The file type's actions (those after the core's).
  // Those of category "Tools" go to the Tools menu.
  const std::size_t own = static_cast<std::size_t>(kCoreActionCount);
  QMenu* preview = nullptr;
  std::vector<QAction*> toolActions;
  for (std::size_t i = own; i < logic_.Actions.size(); ++i) {
    QAction* action = Action(logic_.Actions[i]->Name);
    if (logic_.Actions[i]->Category == "Tools") {
      toolActions.push_back(action);
      continue;
    }
    if (!preview) preview = menuBar()->addMenu(QStringLiteral("&Preview"));
    preview->addAction(action);
  }
  QMenu* tools = menuBar()->addMenu(QStringLiteral("&Tools"));
  for (QAction* action : toolActions) tools->addAction(action);
  if (!toolActions.empty()) tools->addSeparator();
  actions_["ToolsOptions"] = tools->addAction(QStringLiteral("&Options..."), this, [this] { ShowOptions(); });

  // Toolbar: save, then the logic's buttons.
  QToolBar* toolbar = addToolBar(QStringLiteral("Grid"));
  toolbar->setObjectName(QStringLiteral("ToolBar1"));
  toolbar->setIconSize(QSize(16, 16));
  toolbar->setMovable(false);
  toolbar->addAction(save);
  toolbar->addSeparator();
  for (const TVaqToolButton& button : logic_.ToolBar) {
    if (button.ActionName.empty()) {
      QAction* separator = toolbar->addSeparator();
      separator->setObjectName(Q(button.Name));
      separator->setVisible(button.Visible);
    } else if (QAction* action = Action(button.ActionName)) {
      toolbar->addAction(action);
    }
  }
  save->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
  Sync();
}

void TTranslatorWindow::SetFiles(const std::string& BaseFolder, const std::vector<std::string>& Files) {
  logic_.SetFiles(BaseFolder, Files);
  FillFileList();
}

void TTranslatorWindow::FillFileList() {
  files_->clear();
  std::map<std::string, QTreeWidgetItem*> folders;
  for (const TVaqFileEntry& entry : logic_.Files) {
    QTreeWidgetItem* parent = nullptr;
    const std::string folder =
        entry.Folder.empty() ? QFileInfo(Q(logic_.FilesBase)).fileName().toStdString() : entry.Folder;
    auto it = folders.find(folder);
    if (it == folders.end()) {
      parent = new QTreeWidgetItem(files_, {Q(folder)});
      parent->setIcon(0, style()->standardIcon(QStyle::SP_DirIcon));
      parent->setExpanded(true);
      parent->setFlags(parent->flags() & ~Qt::ItemIsSelectable);
      folders.emplace(folder, parent);
    } else {
      parent = it->second;
    }
    auto* item = new QTreeWidgetItem(parent);
    item->setText(0, QFileInfo(Q(entry.FileName)).fileName());
    item->setData(0, Qt::UserRole, Q(entry.FileName));
    item->setToolTip(0, Q(entry.FileName));
    ShowFileCounts(*item, entry);
  }
}

void TTranslatorWindow::ShowFileCounts(QTreeWidgetItem& Item, const TVaqFileEntry& Entry) {
  if (!Entry.Problem.empty()) {
    // The grid shows none of its records: no counts either, and why.
    Item.setText(1, QStringLiteral("!"));
    Item.setText(2, QString());
    Item.setForeground(1, QBrush(QColor(190, 30, 30)));
    Item.setToolTip(0, Q(Entry.FileName) + QStringLiteral("\n") + Q(Entry.Problem));
    Item.setToolTip(1, Q(Entry.Problem));
  } else if (Entry.HasNotes) {
    Item.setToolTip(0, Q(Entry.FileName));
    Item.setToolTip(1, QString());
    Item.setForeground(1, QBrush());
    Item.setText(1, QString::number(Entry.Stats.Translated));
    Item.setText(2, QString::number(Entry.Stats.Untranslated));
    Item.setForeground(
        2, Entry.Stats.Untranslated > 0 ? QBrush(QColor(200, 90, 10)) : QBrush(QColor(30, 130, 50)));
  } else {
    Item.setText(1, QStringLiteral("-"));
    Item.setToolTip(1, QStringLiteral("no notes yet: run vaq update"));
  }
  Item.setTextAlignment(1, Qt::AlignRight);
  Item.setTextAlignment(2, Qt::AlignRight);
}

bool TTranslatorWindow::OpenFile(const std::string& FileName) {
  if (FileName != logic_.CurrentFileName && !logic_.CanLeaveFile()) return false;
  bool opened = true;
  try {
    logic_.LoadFromFile(FileName);
  } catch (const std::exception& error) {
    fileLabel_->setText(QStringLiteral("<b>%1</b>&nbsp;&nbsp;did not open")
                            .arg(QFileInfo(Q(FileName)).fileName().toHtmlEscaped()));
    Sync();
    boxes_.MessageDlg(error.what(), TMsgDlgType::Error, TMsgDlgButtons::Ok, TModalResult::Ok);
    opened = false;
  }
  model_->Reset();
  for (int c = 0; c < static_cast<int>(logic_.VaqGrid.ColDefs.size()); ++c) {
    grid_->setColumnWidth(c, logic_.VaqGrid.ColDefs[static_cast<std::size_t>(c)].Width);
    grid_->setColumnHidden(c, logic_.VaqGrid.ColDefs[static_cast<std::size_t>(c)].Width <= 0);
  }
  if (!opened) return false;
  if (QAction* all = Action("Filter" + std::to_string(static_cast<int>(logic_.Filter))))
    all->setChecked(true);
  Sync();
  grid_->horizontalScrollBar()->setValue(0);
  return true;
}

void TTranslatorWindow::MakeCurrentVisible() {
  const QModelIndex index = model_->IndexOf(logic_.VaqGrid.Col, logic_.VaqGrid.Row);
  if (!index.isValid()) return;
  if (grid_->currentIndex() != index) {
    grid_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
  }
  grid_->scrollTo(index);
}

void TTranslatorWindow::Sync() {
  if (syncing_) return;
  syncing_ = true;
  if (idleWork_) idle_->start();
  for (const auto& action : logic_.Actions) {
    action->Update();
    QAction* qaction = Action(action->Name);
    if (!qaction) continue;
    qaction->setEnabled(action->Enabled);
    qaction->setVisible(action->Visible);
    qaction->setToolTip(
        Q(action->Hint) +
        (action->ShortCut ? QStringLiteral(" (") + Q(ShortCutToText(action->ShortCut)) + u')' : QString()));
    qaction->setIcon(Icon(action->ImageIndex));
  }
  for (const TVaqToolButton& button : logic_.ToolBar) {
    if (QAction* action = Action(button.ActionName); action && action->isCheckable())
      action->setChecked(button.Down);
  }
  for (QAction* action : findChildren<QAction*>()) {
    if (!action->objectName().isEmpty() && action->isSeparator()) {
      if (TVaqToolButton* button = logic_.FindToolButton(action->objectName().toStdString())) {
        action->setVisible(button->Visible);
      }
    }
  }
  if (QAction* save = Action("FileSave")) save->setEnabled(logic_.IsDirty() && !logic_.ReadOnly);
  readOnly_->setVisible(logic_.ReadOnly);
  // The reason names a folder: a long path gives way in its middle; the tooltip has it whole.
  const QString readOnly =
      logic_.ReadOnly ? QStringLiteral("Read-only: ") + Q(logic_.ReadOnlyReason) : QString();
  readOnly_->setText(
      readOnly_->fontMetrics().elidedText(readOnly, Qt::ElideMiddle, std::max(240, width() / 2)));
  readOnly_->setToolTip(readOnly);

  const QString name =
      logic_.CurrentFileName.empty() ? QString() : QFileInfo(Q(logic_.CurrentFileName)).fileName();
  setWindowTitle((name.isEmpty() ? QStringLiteral("vaq")
                                 : name + (logic_.IsDirty() ? QStringLiteral(" *") : QString()) +
                                       QStringLiteral(" - vaq")));
  if (!logic_.CurrentFileName.empty()) {
    fileLabel_->setText(QStringLiteral("<b>%1</b>&nbsp;&nbsp;%2 \u2192 %3")
                            .arg(name.toHtmlEscaped(), Q(logic_.FileStats.SourceLang).toHtmlEscaped(),
                                 Q(logic_.FileStats.TargetLang).toHtmlEscaped()));
  }
  const auto counts = logic_.Counts();
  counts_->setText(QStringLiteral("%1 records  |  %2 translated  |  %3 untranslated  |  %4 shown")
                       .arg(counts.Records)
                       .arg(counts.Translated)
                       .arg(counts.Untranslated)
                       .arg(logic_.VaqGrid.HasRows ? counts.Shown : 0));
  currentId_->setText(Q(logic_.GetCurrID()));
  logic_.UpdateSuggestions();
  suggestions_->Show(logic_);
  const int available = logic_.SuggestionsRow() == logic_.VaqGrid.Row && !logic_.ReadOnly
                            ? static_cast<int>(logic_.Suggestions().size())
                            : 0;
  for (int i = 1; i <= TfrmVaqTranslatorForm::kMaxSuggestions; ++i) {
    if (QAction* use = Action("EditSuggestion" + std::to_string(i))) use->setEnabled(i <= available);
  }
  if (!logic_.StatusMessage.empty()) {
    statusBar()->showMessage(Q(logic_.StatusMessage), 8000);
    logic_.StatusMessage.clear();
  }
  MakeCurrentVisible();
  // The open file is the current entry of the file list; counts follow saves.
  for (QTreeWidgetItemIterator it(files_); *it; ++it) {
    const std::string file = (*it)->data(0, Qt::UserRole).toString().toStdString();
    for (const TVaqFileEntry& entry : logic_.Files) {
      if (!file.empty() && entry.FileName == file) ShowFileCounts(**it, entry);
    }
    if (file == logic_.CurrentFileName) {
      files_->setCurrentItem(*it, 0, QItemSelectionModel::NoUpdate);
      QFont font = (*it)->font(0);
      font.setBold(true);
      (*it)->setFont(0, font);
    } else if ((*it)->font(0).bold() && (*it)->parent()) {
      QFont font = (*it)->font(0);
      font.setBold(false);
      (*it)->setFont(0, font);
    }
  }
  syncing_ = false;
}

void TTranslatorWindow::SyncSelectionToLogic() {
  if (syncing_) return;
  TVaqGrid& grid = logic_.VaqGrid;
  grid.ClearSelection();
  const QModelIndexList rows = grid_->selectionModel()->selectedIndexes();
  std::vector<int> selected;
  for (const QModelIndex& index : rows) selected.push_back(model_->GridRow(index.row()));
  std::sort(selected.begin(), selected.end());
  selected.erase(std::unique(selected.begin(), selected.end()), selected.end());
  // One row is the current row, not a selection.
  if (selected.size() >= 2) {
    for (const int r : selected) grid.SelectRow(r);
  }
}

void TTranslatorWindow::FillPopupMenu(QMenu& Menu) {
  SyncSelectionToLogic();
  logic_.PopupEditMenu();
  for (const auto& item : logic_.PopupMenu.Items) {
    TVaqMenuItem* logicItem = item.get();
    if (item.get() == logic_.EditMenuItem) continue;
    QAction* action = Menu.addAction(Q(item->Caption), this, [this, logicItem] {
      logicItem->OnClick(*logicItem);
      Sync();
    });
    if (item->ShortCut) action->setShortcut(QKeySequence(Q(ShortCutToText(item->ShortCut))));
    action->setEnabled(item->Enabled);
  }
  Menu.addSeparator();
  QMenu* sub = Menu.addMenu(Q(logic_.EditMenuItem->Caption));
  sub->setEnabled(logic_.EditMenuItem->Enabled);
  for (const auto& item : logic_.EditMenuItem->Items) {
    TVaqMenuItem* logicItem = item.get();
    QAction* action = sub->addAction(Q(item->Caption), this, [this, logicItem] {
      logicItem->OnClick(*logicItem);
      Sync();
    });
    action->setEnabled(item->Enabled);
    action->setData(item->Tag);
  }
}

TSearchDialog* TTranslatorWindow::SearchDialog() {
  if (!search_) {
    search_ = new TSearchDialog(logic_, this);
    search_->OnGoTo = [this] {
      model_->Reset();
      Sync();
      activateWindow();
    };
  }
  return search_;
}

std::vector<std::string> TTranslatorWindow::ServiceFiles() const {
  std::vector<std::string> files;
  for (QTreeWidgetItem* item : files_->selectedItems()) {
    const QString file = item->data(0, Qt::UserRole).toString();
    if (!file.isEmpty()) files.push_back(file.toStdString());
  }
  if (files.empty() && !logic_.CurrentFileName.empty()) files.push_back(logic_.CurrentFileName);
  return files;
}

void TTranslatorWindow::RunService(TListEvent Event) {
  const std::vector<std::string> files = ServiceFiles();
  if (files.empty()) return;
  const char* what = Event == TListEvent::Purge             ? "Remove the unused records of"
                     : Event == TListEvent::PseudoTranslate ? "Pseudo-translate"
                                                            : "Export the string values of";
  const QString question = QStringLiteral("%1 %2 file(s)?").arg(QString::fromLatin1(what)).arg(files.size());
  if (boxes_.MessageDlg(question.toStdString(), TMsgDlgType::Confirmation, TMsgDlgButtons::YesNo,
                        TModalResult::No) != TModalResult::Yes) {
    return;
  }
  TSaveFileData dictionary;
  void* data = nullptr;
  if (Event == TListEvent::Dictionary) {
    const QString out =
        QFileDialog::getSaveFileName(this, QStringLiteral("Dictionary file"), QString(),
                                     QStringLiteral("Dictionary (*.csv *.txt);;All files (*)"));
    if (out.isEmpty()) return;
    dictionary.FileName = out.toStdString();
    data = &dictionary;
  }
  int done = 0;
  logic_.RunListEvent(Event, files, data, [this, &done, &files](const std::string& file, void*) {
    statusBar()->showMessage(QStringLiteral("%1 of %2: %3").arg(++done).arg(files.size()).arg(Q(file)));
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    return true;
  });
  statusBar()->clearMessage();
  FillFileList();
  model_->Reset();
  Sync();
}

void TTranslatorWindow::ShowStatistics() {
  int translated = 0;
  int untranslated = 0;
  QString text;
  for (const std::string& file : ServiceFiles()) {
    logic_.RefreshFileStats(file);
    for (const TVaqFileEntry& entry : logic_.Files) {
      if (entry.FileName != file) continue;
      translated += entry.Stats.Translated;
      untranslated += entry.Stats.Untranslated;
      text += QStringLiteral("%1: %2 translated, %3 untranslated\n")
                  .arg(QFileInfo(Q(file)).fileName())
                  .arg(entry.Stats.Translated)
                  .arg(entry.Stats.Untranslated);
    }
  }
  text += QStringLiteral("\nTotal: %1 translated, %2 untranslated").arg(translated).arg(untranslated);
  boxes_.MessageDlg(text.toStdString(), TMsgDlgType::Information, TMsgDlgButtons::Ok, TModalResult::Ok);
  FillFileList();
}

void TTranslatorWindow::ShowOptions() {
  TOptionsDialog dialog(this);
  if (dialog.exec() != QDialog::Accepted) return;
  const std::int64_t style = VaqINTOptionProps.GetInteger(kOptDelimiterStyle);
  if (!logic_.VaqGrid.ColDefs.empty()) {
    logic_.VaqGrid.ColDefs.front().DelimiterStyle =
        static_cast<std::uint8_t>(std::clamp<std::int64_t>(style, 0, 2));
  }
  grid_->viewport()->update();
}

void TTranslatorWindow::closeEvent(QCloseEvent* Event) {
  if (!logic_.CanLeaveFile()) {
    Event->ignore();
    return;
  }
  // Closing ends the session: the previews go, their choice stays for the next start.
  closing_ = true;
  logic_.FormClose();
  Event->accept();
}

void TTranslatorWindow::hideEvent(QHideEvent* Event) {
  QMainWindow::hideEvent(Event);
  if (!Event->spontaneous() && !closing_) logic_.FormHide();
}

void TTranslatorWindow::showEvent(QShowEvent* Event) {
  QMainWindow::showEvent(Event);
  closing_ = false;
  logic_.Visible = true;
  logic_.VaqGrid.Visible = true;
}

}  // namespace vaq::views
