#include "designer/qt/form_surface.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

#include "designer/form_designer.h"
#include "designer/grab_handles.h"
#include "framework/widgets/properties.h"
#include "host/core/locale.h"
#include "host/framework/formstream.h"

namespace rux {

using vaq::widgets::TComponent;
using vaq::widgets::TControl;

namespace {

// Overlay widgets are no controls: the widget layer must not take them for inner parts of the
// form and route their input to the designer as the form's.
void MarkOverlay(QWidget* Widget) {
  Widget->setProperty("vaqControl", true);
}

class TGrabHandleWidget : public QWidget {
 public:
  TGrabHandleWidget(QWidget* Parent, int Index, std::function<void(int, TMouseAction, QPoint)> OnMouse)
      : QWidget(Parent), Index_(Index), OnMouse_(std::move(OnMouse)) {
    MarkOverlay(this);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::black);
    setPalette(palette);
    setCursor(GrabHandleCursor(Index));
    resize(kGrabHandleSize, kGrabHandleSize);
    hide();
  }

 protected:
  void mousePressEvent(QMouseEvent* Event) override { Send(TMouseAction::Down, Event); }
  void mouseMoveEvent(QMouseEvent* Event) override { Send(TMouseAction::Move, Event); }
  void mouseReleaseEvent(QMouseEvent* Event) override { Send(TMouseAction::Up, Event); }

 private:
  void Send(TMouseAction Action, QMouseEvent* Event) {
    Event->accept();
    if (OnMouse_) OnMouse_(Index_, Action, Event->globalPosition().toPoint());
  }

  int Index_;
  std::function<void(int, TMouseAction, QPoint)> OnMouse_;
};

// The rubber band: a grey frame two pixels wide, drawn over the controls.
class TFrameWidget : public QWidget {
 public:
  explicit TFrameWidget(QWidget* Parent) : QWidget(Parent) {
    MarkOverlay(this);
    setAttribute(Qt::WA_TransparentForMouseEvents);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    QPen pen(QColor(0x80, 0x80, 0x80));
    pen.setWidth(2);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
  }
};

// The grid: dots below every control, on the form's background.
class TGridWidget : public QWidget {
 public:
  TGridWidget(QWidget* Parent, const TVaqFormDesigner* const& Designer)
      : QWidget(Parent), Designer_(Designer) {
    MarkOverlay(this);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(Parent->rect());
    // The grid covers the client area whatever its size, also while the form is not designing.
    Parent->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* Watched, QEvent* Event) override {
    if (Watched == parent() && Event->type() == QEvent::Resize) setGeometry(parentWidget()->rect());
    return false;
  }

  void paintEvent(QPaintEvent*) override {
    if (!Designer_ || !Designer_->PaintsGrid()) return;
    QPainter painter(this);
    // $BBGGRR in the frameworks' notation.
    painter.setPen(QColor(kGridDotColor & 0xFF, (kGridDotColor >> 8) & 0xFF, (kGridDotColor >> 16) & 0xFF));
    Designer_->ForEachGridDot([&](int x, int y) { painter.drawPoint(x, y); });
  }

 private:
  const TVaqFormDesigner* const& Designer_;
};

QRect ToQRect(const TRect& R) {
  return QRect(R.Left, R.Top, R.Width(), R.Height());
}

}  // namespace

Qt::CursorShape GrabHandleCursor(int Index) {
  switch (kGrabHandleCursors[Index]) {
    case TGrabCursor::SizeNWSE:
      return Qt::SizeFDiagCursor;
    case TGrabCursor::SizeNS:
      return Qt::SizeVerCursor;
    case TGrabCursor::SizeNESW:
      return Qt::SizeBDiagCursor;
    case TGrabCursor::SizeWE:
      return Qt::SizeHorCursor;
  }
  return Qt::ArrowCursor;
}

TFormDesignSurface::TFormDesignSurface(vaq::widgets::TForm& Form,
                                       std::function<void(int, TMouseAction, QPoint)> OnHandleMouse)
    : Form_(Form) {
  QWidget* client = Form.ClientWidget();
  Grid_ = new TGridWidget(client, Designer_);
  Grid_->lower();
  Grid_->show();
  for (int i = 0; i < kGrabHandleCount; ++i) Handles_[i] = new TGrabHandleWidget(client, i, OnHandleMouse);
}

TFormDesignSurface::~TFormDesignSurface() {
  // The form frees its designer before its widgets, so the overlay still has its parent here.
  for (QWidget* handle : Handles_) delete handle;
  for (QWidget* frame : Frames_) delete frame;
  delete Grid_;
}

TNode TFormDesignSurface::Node(const TComponent* Component) {
  return static_cast<TNode>(reinterpret_cast<std::uintptr_t>(Component));
}

TComponent* TFormDesignSurface::Component(TNode Node) {
  return reinterpret_cast<TComponent*>(static_cast<std::uintptr_t>(Node));
}

TControl* TFormDesignSurface::Control(TNode Node) {
  return static_cast<TControl*>(Component(Node));
}

TNode TFormDesignSurface::Form() const {
  return Node(&Form_);
}

TNode TFormDesignSurface::Parent(TNode Control) const {
  if (Control == Form()) return TNode::None;
  TControl* parent = this->Control(Control)->Parent();
  return parent ? Node(parent) : TNode::None;
}

int TFormDesignSurface::ChildCount(TNode Control) const {
  return static_cast<int>(this->Control(Control)->Controls().size());
}

TNode TFormDesignSurface::Child(TNode Control, int Index) const {
  return Node(this->Control(Control)->Controls()[Index]);
}

const std::string& TFormDesignSurface::Name(TNode Control) const {
  return Component(Control)->Name();
}

TRect TFormDesignSurface::Bounds(TNode Control) const {
  const TControl* c = this->Control(Control);
  return BoundsRect(c->Left(), c->Top(), c->Width(), c->Height());
}

TPoint TFormDesignSurface::ClientOrigin(TNode Control) const {
  if (Control == Form() || Control == TNode::None) return {};
  const QRect r = this->Control(Control)->FormRect();
  return {r.left(), r.top()};
}

TPoint TFormDesignSurface::FormSize() const {
  return {Form_.Width(), Form_.Height()};
}

void TFormDesignSurface::SetBounds(TNode Control, const TRect& Bounds) {
  this->Control(Control)->SetBounds(Bounds.Left, Bounds.Top, Bounds.Width(), Bounds.Height());
}

TNode TFormDesignSurface::FindComponent(std::string_view Name) const {
  TComponent* component = Form_.FindComponent(Name);
  return component ? Node(component) : TNode::None;
}

bool TFormDesignSurface::IsControl(TNode Component) const {
  return this->Component(Component)->IsControl();
}

TPropertySet TFormDesignSurface::SetProperty(TNode Node, std::string_view PropName, std::string_view Value) {
  TComponent& component = *Component(Node);
  try {
    vaq::widgets::CheckProperty(component, PropName, nullptr);
  } catch (const vaq::widgets::EPropertyError&) {
    return TPropertySet::UnknownProperty;
  }
  // The editor sends the value's text in UTF-8: a string's text (Schließen, Дата), taken as it is,
  // or another value's first token (120, alClient, clRed), read as form text.
  const auto asText = [&] {
    vaq::widgets::SetPropertyChecked(component, PropName,
                                     vaq::widgets::TValue::WideString(vaq::Utf8ToUtf16(Value)));
  };
  try {
    if (vaq::widgets::IsTextProperty(component, PropName)) {
      asText();
      return TPropertySet::Applied;
    }
  } catch (const vaq::widgets::EPropertyError&) {
    return TPropertySet::NotConverted;
  }
  try {
    vaq::widgets::SetPropText(component, PropName, Value);
    return TPropertySet::Applied;
  } catch (const vaq::widgets::EPropertyError&) {
  } catch (const vaq::EParserError&) {
  }
  // A component the catalogue does not describe takes what does not read as form text as text.
  try {
    asText();
    return TPropertySet::Applied;
  } catch (const vaq::widgets::EPropertyError&) {
    return TPropertySet::NotConverted;
  }
}

void TFormDesignSurface::ShowHandles(bool Visible, const std::array<TRect, 8>& Handles) {
  for (int i = 0; i < kGrabHandleCount; ++i) {
    QWidget* handle = Handles_[i];
    handle->setGeometry(ToQRect(Handles[i]));
    if (Visible == handle->isVisible()) continue;
    // Above every control: raised each time they appear.
    if (Visible) handle->raise();
    handle->setVisible(Visible);
  }
}

void TFormDesignSurface::ShowRubberBand(const std::vector<TRect>& Frames) {
  QWidget* client = Form_.ClientWidget();
  while (Frames_.size() < Frames.size()) Frames_.push_back(new TFrameWidget(client));
  for (size_t i = 0; i < Frames_.size(); ++i) {
    QWidget* frame = Frames_[i];
    if (i >= Frames.size()) {
      frame->hide();
      continue;
    }
    // The frame is drawn inside the rectangle with a 2-pixel pen centred on its edges.
    frame->setGeometry(ToQRect(Frames[i]).adjusted(-1, -1, 1, 1));
    frame->raise();
    frame->show();
  }
}

void TFormDesignSurface::SetDesigning(bool Designing) {
  if (OnDesigningChanged) OnDesigningChanged(Designing);
}

void TFormDesignSurface::Repaint() {
  Grid_->update();
}

TPoint TFormDesignSurface::FromGlobal(QPoint Global) const {
  const QPoint p = Form_.ClientWidget()->mapFromGlobal(Global);
  return {p.x(), p.y()};
}

}  // namespace rux
