// The search window.
#include "core/views/search_dialog.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/values/code_page_text.h"

namespace vaq::views {

TSearchDialog::TSearchDialog(TfrmVaqTranslatorForm& Window, QWidget* Parent)
    : QDialog(Parent), window_(Window) {
  setWindowTitle(QStringLiteral("Find"));
  setObjectName(QStringLiteral("frmSearch"));
  Text = new QLineEdit(this);
  Text->setObjectName(QStringLiteral("ebSearchText"));
  CaseSensitive = new QCheckBox(QStringLiteral("&Case sensitive"), this);
  WholeWord = new QCheckBox(QStringLiteral("&Whole words"), this);
  IgnoreAccelerators = new QCheckBox(QStringLiteral("&Ignore accelerators (&&)"), this);
  IgnoreAccelerators->setChecked(true);
  AllFiles = new QCheckBox(QStringLiteral("In &all listed files"), this);
  Columns = new QListWidget(this);
  Columns->setMaximumHeight(120);
  for (const TColDef& def : window_.VaqGrid.ColDefs) {
    if (def.Key.empty()) continue;
    auto* item = new QListWidgetItem(QString::fromStdString(def.Caption), Columns);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    const bool values = def.ColumnId == kColOrig || def.ColumnId == kColCurr;
    item->setCheckState(values ? Qt::Checked : Qt::Unchecked);
    item->setData(Qt::UserRole, def.ColumnId);
    // The file type knows its columns by the captions of its table, not by the language names.
    item->setData(Qt::UserRole + 1, QString::fromStdString(window_.GetColInfo(def.ColumnId).Caption));
  }
  Results = new QTreeWidget(this);
  Results->setObjectName(QStringLiteral("lvHits"));
  Results->setHeaderLabels({QStringLiteral("File"), QStringLiteral("Row"), QStringLiteral("Column"),
                            QStringLiteral("Id"), QStringLiteral("Text")});
  Results->setRootIsDecorated(false);
  Results->header()->setStretchLastSection(true);
  auto* find = new QPushButton(QStringLiteral("&Find"), this);
  find->setDefault(true);
  auto* status = new QLabel(this);
  connect(find, &QPushButton::clicked, this, [this, status] {
    const int count = Find();
    status->setText(QStringLiteral("%1 found").arg(count));
  });
  connect(Results, &QTreeWidget::itemDoubleClicked, this,
          [this](QTreeWidgetItem* item) { GoToHit(item->data(0, Qt::UserRole).toInt()); });

  auto* grid = new QGridLayout();
  grid->addWidget(new QLabel(QStringLiteral("Text to find:"), this), 0, 0);
  grid->addWidget(Text, 0, 1);
  grid->addWidget(find, 0, 2);
  grid->addWidget(CaseSensitive, 1, 0);
  grid->addWidget(WholeWord, 1, 1);
  grid->addWidget(IgnoreAccelerators, 2, 0);
  grid->addWidget(AllFiles, 2, 1);
  grid->addWidget(new QLabel(QStringLiteral("Columns:"), this), 3, 0, Qt::AlignTop);
  grid->addWidget(Columns, 3, 1, 1, 2);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(Results, 1);
  layout->addWidget(status);
  resize(720, 480);
}

int TSearchDialog::Find() {
  TVaqSearchRequest request;
  request.Text = Text->text().toStdString();  // UTF-8, as the file type's search takes it
  request.CaseSensitive = CaseSensitive->isChecked();
  request.WholeWord = WholeWord->isChecked();
  request.IgnoreAccelerators = IgnoreAccelerators->isChecked();
  request.AllFiles = AllFiles->isChecked();
  for (int i = 0; i < Columns->count(); ++i) {
    const QListWidgetItem* item = Columns->item(i);
    request.Columns.push_back(
        {item->data(Qt::UserRole + 1).toString().toStdString(), item->checkState() == Qt::Checked});
  }
  hits_ = window_.Search(request);
  Results->clear();
  for (std::size_t i = 0; i < hits_.size(); ++i) {
    const TVaqSearchHit& hit = hits_[i];
    auto* item = new QTreeWidgetItem(Results);
    item->setText(0, QFileInfo(QString::fromStdString(hit.FileName)).fileName());
    item->setText(1, hit.Row > 0 ? QString::number(hit.Row) : QString());
    const int column = window_.EnumToCol(hit.ColumnId);
    item->setText(2,
                  column >= 0 ? QString::fromStdString(window_.VaqGrid.ColDefs[column].Caption) : QString());
    item->setText(3, QString::fromStdU16String(values::DecodeText(hit.Id, hit.SourceLcid)));
    item->setText(4, QString::fromStdU16String(values::DecodeText(hit.Text, hit.TextLcid())));
    item->setData(0, Qt::UserRole, static_cast<int>(i));
  }
  return static_cast<int>(hits_.size());
}

void TSearchDialog::GoToHit(int Index) {
  if (Index < 0 || Index >= static_cast<int>(hits_.size())) return;
  if (window_.GotoHit(hits_[static_cast<std::size_t>(Index)]) && OnGoTo) OnGoTo();
}

}  // namespace vaq::views
