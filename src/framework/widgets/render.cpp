#include "framework/widgets/render.h"

#include <QApplication>
#include <QLinearGradient>
#include <QMenuBar>
#include <QPainter>
#include <QPalette>
#include <QStyleFactory>

namespace vaq::widgets {

void PrepareApplication() {
  if (QStyle* style = QStyleFactory::create(QStringLiteral("Fusion"))) QApplication::setStyle(style);
  QPalette palette;
  palette.setColor(QPalette::Window, ToQColor(clBtnFace));
  palette.setColor(QPalette::WindowText, ToQColor(clWindowText));
  palette.setColor(QPalette::Base, ToQColor(clWindow));
  palette.setColor(QPalette::AlternateBase, ToQColor(clBtnFace));
  palette.setColor(QPalette::Text, ToQColor(clWindowText));
  palette.setColor(QPalette::Button, ToQColor(clBtnFace));
  palette.setColor(QPalette::ButtonText, ToQColor(clBtnText));
  palette.setColor(QPalette::Highlight, ToQColor(static_cast<TColor>(0x8000000D)));
  palette.setColor(QPalette::HighlightedText, ToQColor(static_cast<TColor>(0x8000000E)));
  palette.setColor(QPalette::ToolTipBase, ToQColor(clInfoBk));
  palette.setColor(QPalette::Light, ToQColor(clBtnHighlight));
  palette.setColor(QPalette::Mid, ToQColor(clBtnShadow));
  palette.setColor(QPalette::Dark, ToQColor(clBtnShadow));
  palette.setColor(QPalette::Disabled, QPalette::Text, ToQColor(clGrayText));
  palette.setColor(QPalette::Disabled, QPalette::WindowText, ToQColor(clGrayText));
  palette.setColor(QPalette::Disabled, QPalette::ButtonText, ToQColor(clGrayText));
  QApplication::setPalette(palette);
  QApplication::setFont(ToQFont(TFontSpec()));
}

QImage RenderForm(TForm& Form) {
  QWidget* window = Form.Window();
  // Widgets draw only once they have been laid out as shown; the window never reaches a screen.
  if (!window->isVisible()) {
    window->setAttribute(Qt::WA_DontShowOnScreen, true);
    window->show();
  }
  int width = std::max(Form.Width(), 1), height = std::max(Form.Height(), 1);
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(ToQColor(clBtnFace));
  QPainter painter(&image);
  int border = Form.BorderWidth(), caption = Form.CaptionHeight();
  if (border > 0) {
    painter.setPen(QColor(0x70, 0x70, 0x70));
    painter.drawRect(0, 0, width - 1, height - 1);
    painter.setPen(ToQColor(clBtnHighlight));
    painter.drawRect(1, 1, width - 3, height - 3);
  }
  if (caption > 0) {
    QRect bar(border, border, width - 2 * border, caption);
    QLinearGradient gradient(bar.topLeft(), bar.topRight());
    gradient.setColorAt(0, QColor(0x0A, 0x24, 0x6A));
    gradient.setColorAt(1, QColor(0xA6, 0xCA, 0xF0));
    painter.fillRect(bar, gradient);
    QFont font = ToQFont(TFontSpec());
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(bar.adjusted(6, 0, -60, 0), Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine,
                     window->windowTitle());
    // The close box, and minimise and maximise for windows that have them.
    int box = caption - 6;
    int x = bar.right() - box - 2;
    int boxes = Form.BorderStyle() == TFormBorderStyle::bsDialog ||
                        Form.BorderStyle() == TFormBorderStyle::bsToolWindow ||
                        Form.BorderStyle() == TFormBorderStyle::bsSizeToolWin
                    ? 1
                    : 3;
    for (int i = 0; i < boxes; ++i) {
      QRect r(x, bar.top() + 3, box, box);
      painter.fillRect(r, ToQColor(clBtnFace));
      painter.setPen(ToQColor(clBtnShadow));
      painter.drawRect(r.adjusted(0, 0, -1, -1));
      painter.setPen(Qt::black);
      QRect g = r.adjusted(4, 4, -5, -5);
      if (i == 0) {
        painter.drawLine(g.topLeft(), g.bottomRight());
        painter.drawLine(g.topRight(), g.bottomLeft());
      } else if (i == 1) {
        painter.drawRect(g);
      } else {
        painter.drawLine(g.bottomLeft(), g.bottomRight());
      }
      x -= box + 2;
    }
  }
  QPoint origin(border, border + caption);
  painter.end();
  if (QMenuBar* menu = Form.MenuBar()) menu->render(&image, origin);
  Form.ClientWidget()->render(&image, origin + QPoint(0, Form.MenuHeight()));
  return image;
}

}  // namespace vaq::widgets
