// A design surface over plain data, for the designer's tests and benchmarks: a form with a tree
// of named controls and their bounds; it records what the designer shows (handles, rubber band,
// repaints, test mode) and the bounds and properties it sets.
#pragma once

#include <algorithm>
#include <cctype>
#include <charconv>
#include <map>
#include <string>
#include <vector>

#include "designer/design_surface.h"
#include "designer/designer_intf.h"

namespace rux::testing {

class TFakeDesignSurface : public IDesignSurface {
 public:
  struct TFakeNode {
    std::string Name;
    TNode Parent = TNode::None;
    std::vector<TNode> Children;
    TRect Bounds;
    bool Control = true;
    std::map<std::string, std::string> Properties;
    char Kind = 'O';
    std::string ClassName = "TControl";
    bool Shown = true;
  };

  explicit TFakeDesignSurface(int Width = 640, int Height = 480) {
    Nodes_.push_back({"frmLive", TNode::None, {}, BoundsRect(0, 0, Width, Height), true, {}});
  }

  // Adds a control under `Parent` (the form by default) with bounds in the parent's coordinates.
  TNode Add(const std::string& Name, TRect Bounds, TNode Parent = TNode::None) {
    if (Parent == TNode::None) Parent = Form();
    Nodes_.push_back({Name, Parent, {}, Bounds, true, {}});
    const TNode node = static_cast<TNode>(Nodes_.size());
    At(Parent).Children.push_back(node);
    return node;
  }
  // A component owned by the form that is no control (a menu item, say).
  TNode AddComponent(const std::string& Name) {
    Nodes_.push_back({Name, TNode::None, {}, {}, false, {}});
    return static_cast<TNode>(Nodes_.size());
  }

  TFakeNode& At(TNode Node) { return Nodes_[static_cast<size_t>(Node) - 1]; }
  const TFakeNode& At(TNode Node) const { return Nodes_[static_cast<size_t>(Node) - 1]; }

  TNode Form() const override { return static_cast<TNode>(1); }
  TNode Parent(TNode Control) const override { return At(Control).Parent; }
  int ChildCount(TNode Control) const override { return static_cast<int>(At(Control).Children.size()); }
  TNode Child(TNode Control, int Index) const override { return At(Control).Children[Index]; }
  const std::string& Name(TNode Control) const override { return At(Control).Name; }
  char Kind(TNode Control) const override { return At(Control).Kind; }
  std::string ClassName(TNode Control) const override { return At(Control).ClassName; }
  bool Showing(TNode Control) const override {
    for (TNode c = Control; c != TNode::None; c = At(c).Parent)
      if (!At(c).Shown) return false;
    return true;
  }
  TRect Bounds(TNode Control) const override { return At(Control).Bounds; }
  TPoint ClientOrigin(TNode Control) const override {
    TPoint origin;
    for (TNode c = Control; c != Form() && c != TNode::None; c = At(c).Parent) {
      origin.X += At(c).Bounds.Left;
      origin.Y += At(c).Bounds.Top;
    }
    return origin;
  }
  TPoint FormSize() const override { return {At(Form()).Bounds.Width(), At(Form()).Bounds.Height()}; }
  TPoint ScrollPosition() const override { return Scroll; }
  void SetBounds(TNode Control, const TRect& Bounds) override {
    At(Control).Bounds = Bounds;
    ++BoundsSet;
  }

  TNode FindComponent(std::string_view Name) const override {
    for (size_t i = 1; i < Nodes_.size(); ++i)
      if (SameText(Nodes_[i].Name, Name)) return static_cast<TNode>(i + 1);
    return TNode::None;
  }
  bool IsControl(TNode Component) const override { return At(Component).Control; }
  // Bounds take integers; Caption and Hint any text; other names do not exist.
  TPropertySet SetProperty(TNode Component, std::string_view PropName, std::string_view Value) override {
    const std::string prop = Lower(PropName);
    if (prop == "caption" || prop == "hint") {
      At(Component).Properties[prop] = std::string(Value);
      return TPropertySet::Applied;
    }
    if (prop != "left" && prop != "top" && prop != "width" && prop != "height")
      return TPropertySet::UnknownProperty;
    int v = 0;
    const auto [end, error] = std::from_chars(Value.data(), Value.data() + Value.size(), v);
    if (error != std::errc() || end != Value.data() + Value.size()) return TPropertySet::NotConverted;
    TRect& b = At(Component).Bounds;
    if (prop == "left") b = BoundsRect(v, b.Top, b.Width(), b.Height());
    if (prop == "top") b = BoundsRect(b.Left, v, b.Width(), b.Height());
    if (prop == "width") b.Right = b.Left + v;
    if (prop == "height") b.Bottom = b.Top + v;
    return TPropertySet::Applied;
  }

  void ShowHandles(bool Visible, const std::array<TRect, 8>& Handles) override {
    HandlesShown = Visible;
    ShownHandles = Handles;
  }
  void ShowRubberBand(const std::vector<TRect>& Frames) override { RubberBand = Frames; }
  void SetDesigning(bool Value) override { Designing = Value; }
  void Repaint() override { ++Repaints; }

  TPoint Scroll;
  bool HandlesShown = false;
  std::array<TRect, 8> ShownHandles{};
  std::vector<TRect> RubberBand;
  bool Designing = true;
  int Repaints = 0;
  int BoundsSet = 0;

 private:
  static std::string Lower(std::string_view Text) {
    std::string lower(Text);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
  }
  static bool SameText(std::string_view A, std::string_view B) { return Lower(A) == Lower(B); }

  std::vector<TFakeNode> Nodes_;
};

}  // namespace rux::testing

namespace rux::testing {

// A notifier that writes each notification to a log the test keeps:
// "moved O:frmMain.O:Button1 16,8", "resized ... 75,25", "selected O:frmMain".
class TRecordingNotifier : public IVaqFormDesignerNotifier {
 public:
  explicit TRecordingNotifier(std::vector<std::string>& Log) : Log_(Log) {}
  void ComponentMoved(const std::string& Path, TPoint P) override {
    Log_.push_back("moved " + Path + " " + std::to_string(P.X) + "," + std::to_string(P.Y));
  }
  void ComponentResized(const std::string& Path, TPoint P) override {
    Log_.push_back("resized " + Path + " " + std::to_string(P.X) + "," + std::to_string(P.Y));
  }
  void ComponentSelected(const std::string& Path) override { Log_.push_back("selected " + Path); }
  // Refuses changes of the paths in `Refused`, giving the reason "kept as it is".
  std::string ChangeRefused(const std::string& Path) override {
    for (const std::string& refused : Refused)
      if (refused == Path) {
        Log_.push_back("refused " + Path);
        return "kept as it is";
      }
    return {};
  }
  std::vector<std::string> Refused;

 private:
  std::vector<std::string>& Log_;
};

}  // namespace rux::testing
