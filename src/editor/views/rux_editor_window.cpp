// The form editor's desktop window.
#include "editor/views/rux_editor_window.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <filesystem>

#include "host/core/text.h"

namespace rux::views {
namespace {

// A small window: frame, title bar in `title`.
void DrawWindow(QPainter& p, const QColor& title, const QRectF& r) {
  p.setPen(QColor(70, 70, 70));
  p.setBrush(QColor(252, 252, 252));
  p.drawRect(r);
  p.setPen(Qt::NoPen);
  p.setBrush(title);
  p.drawRect(QRectF(r.left() + 0.5, r.top() + 0.5, r.width() - 0.5, 3));
}

void DrawPin(QPainter& p, bool on) {
  const QColor head = on ? QColor(210, 40, 40) : QColor(150, 150, 150);
  p.save();
  p.translate(8, 8);
  p.rotate(on ? 0 : 40);
  p.setPen(QPen(QColor(90, 90, 90), 1.4, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(0, 1), QPointF(0, 7.5));
  p.setPen(QColor(80, 20, 20, on ? 255 : 120));
  p.setBrush(head);
  p.drawEllipse(QRectF(-4.5, -7.5, 9, 7));
  p.drawRect(QRectF(-2.5, -1.5, 5, 2.5));
  p.restore();
}

}  // namespace

QIcon RuxIcon(int ImageIndex) {
  if (ImageIndex < kImageShowOrig || ImageIndex > kImageOnTopOn) return {};
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  switch (ImageIndex) {
    case kImageShowOrig: {  // the original form: a window with a gray title and an "A"
      DrawWindow(p, QColor(110, 120, 140), QRectF(1.5, 1.5, 13, 12));
      QFont font = p.font();
      font.setPixelSize(9);
      font.setBold(true);
      p.setFont(font);
      p.setPen(QColor(50, 60, 80));
      p.drawText(QRectF(1.5, 4.5, 13, 9), Qt::AlignCenter, QStringLiteral("A"));
      break;
    }
    case kImageShowXlat: {  // the translated form: a window with a blue title and an "Ä"
      DrawWindow(p, QColor(40, 110, 200), QRectF(1.5, 1.5, 13, 12));
      QFont font = p.font();
      font.setPixelSize(9);
      font.setBold(true);
      p.setFont(font);
      p.setPen(QColor(30, 90, 170));
      p.drawText(QRectF(1.5, 4.5, 13, 9), Qt::AlignCenter, QString::fromUtf8("\xC3\x84"));
      break;
    }
    case kImageRefresh: {  // refresh: a window behind a circular arrow
      DrawWindow(p, QColor(40, 110, 200), QRectF(0.5, 0.5, 10, 9));
      p.setPen(QPen(QColor(30, 140, 60), 2.0, Qt::SolidLine, Qt::RoundCap));
      p.setBrush(Qt::NoBrush);
      p.drawArc(QRectF(5, 5, 9.5, 9.5), 100 * 16, 260 * 16);
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(30, 140, 60));
      p.drawPolygon(QPolygonF({QPointF(8.5, 2.5), QPointF(12.5, 5.5), QPointF(8, 8)}));
      break;
    }
    case kImageOnTopOff:
      DrawPin(p, false);
      break;
    case kImageOnTopOn:
      DrawPin(p, true);
      break;
    default:
      break;
  }
  return QIcon(pixmap);
}

std::unique_ptr<vaq::views::TTranslatorWindow> CreateRuxEditorWindow(TfrmVaqRuxForm& Form) {
  auto window = std::make_unique<vaq::views::TTranslatorWindow>(Form);
  window->setObjectName(QStringLiteral("frmVaqRuxForm"));
  window->SetIconProvider([](int index) { return RuxIcon(index); });
  TfrmVaqRuxForm* form = &Form;
  // The line between component groups: the cell above and the cell below a group border each draw
  // their half, so repainting either alone keeps the line whole.
  window->SetDrawCell([form](QPainter& painter, const QRect& rect, int, int row) {
    const vaq::TVaqGrid& grid = form->VaqGrid;
    if (grid.ColDefs.empty() || !grid.HasRows) return;
    const auto& shown = grid.ShownRows();
    const int viewRow = grid.DisplayNumber(row) - 1;
    // Neighbours as the view shows them: under a filter the next shown row follows.
    const int next =
        viewRow + 1 < static_cast<int>(shown.size()) ? shown[static_cast<std::size_t>(viewRow + 1)] : -1;
    const int previous = viewRow > 0 ? shown[static_cast<std::size_t>(viewRow - 1)] : -1;
    const TDelimiterLine line =
        DelimiterLine(grid.ColDefs.front().DelimiterStyle, viewRow + 1, grid.GetObjectDelimeter(row),
                      next >= 0 ? grid.GetObjectDelimeter(next) : 0,
                      previous >= 0 ? grid.GetObjectDelimeter(previous) : 0, next < 0);
    if (line == TDelimiterLine::None) return;
    painter.setPen(QPen(QColor(70, 90, 130), 1));
    // The grid line is the bottom pixel row of each cell: the line above a cell is the bottom row
    // of the cell above. The cells on both sides of it draw the same pixels.
    const int y = line == TDelimiterLine::Top ? rect.top() - 1 : rect.bottom();
    painter.drawLine(rect.left(), y, rect.right(), y);
  });
  window->Build();
  return window;
}

std::vector<std::string> ListFormFiles(const std::string& Folder) {
  namespace fs = std::filesystem;
  std::vector<std::string> files;
  std::error_code ec;
  for (fs::recursive_directory_iterator it(Folder, fs::directory_options::skip_permission_denied, ec), end;
       !ec && it != end; it.increment(ec)) {
    if (!it->is_regular_file(ec)) continue;
    const std::string ext = it->path().extension().string();
    if (vaq::AnsiSameText(ext, ".rux") || vaq::AnsiSameText(ext, ".gox"))
      files.push_back(it->path().string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace rux::views
