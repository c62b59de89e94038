// The grid of the translation window as a Qt table model. It reads the window logic's grid lazily:
// only the cells a view asks for are converted, so a file of any size opens at once and a repaint
// touches only what is visible. View rows are the grid's shown rows (a filter hides the others).
#pragma once

#include <QAbstractTableModel>
#include <QIcon>

#include "host/core/translator_form.h"

namespace vaq::views {

// The mark of a row with findings in the row-number column.
QIcon FindingIcon();

// The row-number column of a row the last check marked shows FindingIcon() and has the row's
// findings as its tooltip.
class TGridModel : public QAbstractTableModel {
 public:
  explicit TGridModel(TfrmVaqTranslatorForm& Window, QObject* Parent = nullptr);

  int rowCount(const QModelIndex& Parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& Parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& Index, int Role) const override;
  QVariant headerData(int Section, Qt::Orientation Orientation, int Role) const override;
  Qt::ItemFlags flags(const QModelIndex& Index) const override;
  // An edit from the cell editor (UTF-8 text): through the window's edit path; a refused edit
  // leaves the cell as it was.
  bool setData(const QModelIndex& Index, const QVariant& Value, int Role = Qt::EditRole) override;

  // The grid row of a view row and back (-1 when the row is not shown).
  int GridRow(int ViewRow) const;
  int ViewRow(int GridRow) const;
  QModelIndex IndexOf(int Column, int GridRow) const;

  // The grid changed: structure (rows, filter) or cell texts.
  void Reset();
  // Cell texts changed, rows did not: the visible cells are read again.
  void Refresh();
  void CellChanged(int Column, int GridRow);

  TfrmVaqTranslatorForm& Window() const { return window_; }

 private:
  TfrmVaqTranslatorForm& window_;
};

}  // namespace vaq::views
