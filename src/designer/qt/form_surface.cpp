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
    setCursor(GrabHandleCursor(Index));
    resize(kGrabHandleSize, kGrabHandleSize);
    hide();
  }

  // Shows or hides the handle. The handle being dragged is not hidden but left unpainted: the
  // window system sends the rest of the drag (the moves and the release) to the widget that took
  // the press only while that widget is on screen.
  void Show(bool Visible) {
    if (const bool ghost = !Visible && Pressed_; ghost != Ghost_) {
      Ghost_ = ghost;
      update();
    }
    if (Ghost_) return;
    if (Visible == isVisible()) return;
    if (Visible) raise();  // above every control: raised each time they appear
    setVisible(Visible);
  }
  bool Ghost() const { return Ghost_; }

 protected:
  void paintEvent(QPaintEvent*) override {
    if (!Ghost_) QPainter(this).fillRect(rect(), Qt::black);
  }
  void mousePressEvent(QMouseEvent* Event) override {
    Pressed_ = true;
    Send(TMouseAction::Down, Event);
  }
  void mouseMoveEvent(QMouseEvent* Event) override { Send(TMouseAction::Move, Event); }
  void mouseReleaseEvent(QMouseEvent* Event) override {
    // Released first, so that the handles shown again at the end of the drag show this one too.
    Pressed_ = Event->buttons() != Qt::NoButton;
    Send(TMouseAction::Up, Event);
  }

 private:
  void Send(TMouseAction Action, QMouseEvent* Event) {
    Event->accept();
    if (OnMouse_) OnMouse_(Index_, Action, Event->globalPosition().toPoint());
  }

  int Index_;
  std::function<void(int, TMouseAction, QPoint)> OnMouse_;
  bool Pressed_ = false;
  bool Ghost_ = false;
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

char TFormDesignSurface::Kind(TNode Control) const {
  return Component(Control)->StreamKind();
}

std::string TFormDesignSurface::ClassName(TNode Control) const {
  return Component(Control)->ClassName();
}

bool TFormDesignSurface::Showing(TNode Node) const {
  if (Node == Form()) return true;
  const QWidget* widget = Control(Node)->Widget();
  return widget && widget->isVisibleTo(Form_.ClientWidget());
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
  if (Name.find(':') == std::string_view::npos) {
    TComponent* component = Form_.FindComponent(Name);
    return component ? Node(component) : TNode::None;
  }
  // A path: each segment among the components its predecessor nests.
  const TComponent* at = &Form_;
  for (std::size_t start = 0; start <= Name.size();) {
    const std::size_t dot = std::min(Name.find('.', start), Name.size());
    std::string_view segment = Name.substr(start, dot - start);
    const std::size_t colon = segment.find(':');
    if (colon != std::string_view::npos) segment.remove_prefix(colon + 1);
    const TComponent* next = nullptr;
    for (const TComponent* child : at->ChildComponents())
      if (vaq::widgets::SameText(child->Name(), segment)) next = child;
    if (!next) return TNode::None;
    at = next;
    start = dot + 1;
  }
  return Node(at);
}

bool TFormDesignSurface::IsControl(TNode Component) const {
  return this->Component(Component)->IsControl();
}

TPropertySet TFormDesignSurface::SetProperty(TNode Node, std::string_view PropPath, std::string_view Value) {
  TComponent& component = *Component(Node);
  try {
    vaq::widgets::CheckProperty(component, PropPath.substr(0, PropPath.find('[')), nullptr);
  } catch (const vaq::widgets::EPropertyError&) {
    return TPropertySet::UnknownProperty;
  }
  // One path for every kind of value: the record's property path and its value in form-text
  // notation, its strings in the code page of the form's language.
  try {
    vaq::widgets::SetPropText(component, PropPath, Value);
    return TPropertySet::Applied;
  } catch (const vaq::widgets::EPropertyError&) {
    return TPropertySet::NotConverted;
  }
}

void TFormDesignSurface::ShowHandles(bool Visible, const std::array<TRect, 8>& Handles) {
  for (int i = 0; i < kGrabHandleCount; ++i) {
    auto* handle = static_cast<TGrabHandleWidget*>(Handles_[i]);
    handle->setGeometry(ToQRect(Handles[i]));
    handle->Show(Visible);
  }
}

bool TFormDesignSurface::HandleShown(int Index) const {
  auto* handle = static_cast<TGrabHandleWidget*>(Handles_[Index]);
  return handle->isVisible() && !handle->Ghost();
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
