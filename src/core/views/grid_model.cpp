// The grid of the translation window as a Qt table model.
#include "core/views/grid_model.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QIcon>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include "host/core/conversions.h"

namespace vaq::views {

QIcon FindingIcon() {
  // A warning triangle: amber with a dark exclamation mark, readable at 16 pixels.
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  QPainterPath triangle;
  triangle.moveTo(8, 1.5);
  triangle.lineTo(15, 14.5);
  triangle.lineTo(1, 14.5);
  triangle.closeSubpath();
  p.setPen(QPen(QColor(170, 110, 0), 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(QColor(255, 196, 40));
  p.drawPath(triangle);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(60, 40, 0));
  p.drawRoundedRect(QRectF(7.1, 5.5, 1.8, 5.2), 0.8, 0.8);
  p.drawEllipse(QRectF(7.05, 11.4, 1.9, 1.9));
  p.end();
  return QIcon(pixmap);
}

TGridModel::TGridModel(TfrmVaqTranslatorForm& Window, QObject* Parent)
    : QAbstractTableModel(Parent), window_(Window) {}

int TGridModel::rowCount(const QModelIndex& Parent) const {
  return Parent.isValid() ? 0 : static_cast<int>(window_.VaqGrid.ShownRows().size());
}

int TGridModel::columnCount(const QModelIndex& Parent) const {
  return Parent.isValid() ? 0 : static_cast<int>(window_.VaqGrid.ColDefs.size());
}

int TGridModel::GridRow(int ViewRow) const {
  const auto& shown = window_.VaqGrid.ShownRows();
  return ViewRow >= 0 && ViewRow < static_cast<int>(shown.size()) ? shown[static_cast<std::size_t>(ViewRow)]
                                                                  : -1;
}

int TGridModel::ViewRow(int GridRow) const {
  return window_.VaqGrid.DisplayNumber(GridRow) - 1;
}

QModelIndex TGridModel::IndexOf(int Column, int GridRow) const {
  const int row = ViewRow(GridRow);
  return row >= 0 ? index(row, Column) : QModelIndex();
}

QVariant TGridModel::data(const QModelIndex& Index, int Role) const {
  const int row = GridRow(Index.row());
  const int column = Index.column();
  if (row < 0 || column >= window_.VaqGrid.ColCount()) return {};
  const bool numberColumn = window_.ColToEnum(column) == kColIndex;
  switch (Role) {
    case Qt::DecorationRole:
      if (numberColumn && window_.RowFinding(row)) {
        static const QIcon icon = FindingIcon();
        return icon;
      }
      return {};
    case Qt::ToolTipRole:
      if (numberColumn) {
        if (const std::string* finding = window_.RowFinding(row)) return QString::fromStdString(*finding);
      }
      return QString::fromStdString(window_.DisplayText(column, row));
    case Qt::DisplayRole:
      return QString::fromStdString(window_.DisplayText(column, row));
    case Qt::EditRole:
      return QString::fromStdString(window_.CellEditText(column, row));
    case Qt::ForegroundRole: {
      if (window_.VaqGrid.GetMgrIndex(row) < 0) return {};
      const int status = window_.EnumToCol(kColStatus);
      if (status >= 0 && StrToStatusOrd(window_.VaqGrid.Cell(status, row)) == 3)
        return QBrush(QColor(128, 128, 128));
      if (numberColumn) return QBrush(QColor(110, 110, 110));
      return {};
    }
    case Qt::BackgroundRole: {
      if (window_.VaqGrid.GetMgrIndex(row) < 0 || window_.ColToEnum(column) != kColCurr) return {};
      const int status = window_.EnumToCol(kColStatus);
      switch (status >= 0 ? StrToStatusOrd(window_.VaqGrid.Cell(status, row)) : -1) {
        case 0:
          return QBrush(QColor(255, 236, 214));  // untranslated
        case 2:
          return QBrush(QColor(226, 238, 255));  // from the repository
        default:
          return {};
      }
    }
    case Qt::TextAlignmentRole:
      if (numberColumn) return int(Qt::AlignRight | Qt::AlignVCenter);
      return {};
    default:
      return {};
  }
}

QVariant TGridModel::headerData(int Section, Qt::Orientation Orientation, int Role) const {
  if (Orientation != Qt::Horizontal || Role != Qt::DisplayRole) return {};
  if (Section < 0 || Section >= static_cast<int>(window_.VaqGrid.ColDefs.size())) return {};
  return QString::fromStdString(window_.VaqGrid.ColDefs[static_cast<std::size_t>(Section)].Caption);
}

Qt::ItemFlags TGridModel::flags(const QModelIndex& Index) const {
  Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  const int row = GridRow(Index.row());
  if (row < 0 || window_.VaqGrid.GetMgrIndex(row) < 0 || window_.ReadOnly) return flags;
  switch (window_.ColToEnum(Index.column())) {
    case kColCurr:
    case kColStatus:
    case kColComment:
      return flags | Qt::ItemIsEditable;
    default:
      return flags;
  }
}

bool TGridModel::setData(const QModelIndex& Index, const QVariant& Value, int Role) {
  if (Role != Qt::EditRole) return false;
  const int row = GridRow(Index.row());
  if (row < 0) return false;
  const std::string text = Value.toString().toStdString();
  if (text == window_.CellEditText(Index.column(), row)) return false;
  return window_.ApplyToRows(Index.column(), {row}, text) == 0;
}

void TGridModel::Reset() {
  beginResetModel();
  endResetModel();
}

void TGridModel::Refresh() {
  if (rowCount() > 0 && columnCount() > 0)
    emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

void TGridModel::CellChanged(int Column, int GridRow) {
  const int row = ViewRow(GridRow);
  if (row < 0) return;
  // The row's other cells (status, date) change with it.
  (void)Column;
  emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

}  // namespace vaq::views
