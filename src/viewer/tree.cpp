#include "viewer/tree.h"

#include "framework/widgets/controls.h"
#include "host/core/locale.h"

namespace rux {

namespace {

std::string Escape(const std::u16string& Text) {
  std::string utf8 = vaq::Utf16ToUtf8(Text), out;
  for (char c : utf8) {
    if (c == '\n')
      out += "\\n";
    else if (c == '\r')
      continue;
    else if (c == '\t')
      out += "\\t";
    else
      out += c;
  }
  return out;
}

// The component's segment as the notes spell it: its kind letter, ":", its name.
std::string Segment(const vaq::widgets::TComponent& Component) {
  return std::string(1, Component.StreamKind()) + ":" + Component.Name();
}

void Walk(const vaq::widgets::TComponent& Component, const std::string& Path, std::vector<std::string>& Lines,
          std::vector<const vaq::widgets::TComponent*>& Done) {
  Done.push_back(&Component);
  std::string line = Path + "\t" + Component.ClassName() + "\t";
  if (auto* form = dynamic_cast<const vaq::widgets::TForm*>(&Component)) {
    line += "shown\t0,0," + std::to_string(form->ClientWidth()) + "," + std::to_string(form->ClientHeight());
  } else if (auto* placeholder = dynamic_cast<const vaq::widgets::TPlaceholder*>(&Component);
             placeholder && placeholder->NonVisual()) {
    line += "-\t-";
  } else if (auto* control = dynamic_cast<const vaq::widgets::TControl*>(&Component)) {
    QRect r = control->FormRect();
    line += std::string(control->Showing() ? "shown" : "hidden") + "\t" + std::to_string(r.left()) + "," +
            std::to_string(r.top()) + "," + std::to_string(r.width()) + "," + std::to_string(r.height());
  } else {
    line += "-\t-";
  }
  line += "\t" + Escape(Component.DisplayText());
  Lines.push_back(line);
  for (const auto* child : Component.ChildComponents())
    Walk(*child, Path + "." + Segment(*child), Lines, Done);
}

}  // namespace

std::vector<std::string> FormTreeLines(vaq::widgets::TForm& Form) {
  std::vector<std::string> lines;
  std::vector<const vaq::widgets::TComponent*> done;
  std::string root = Segment(Form);
  Walk(Form, root, lines, done);
  // Components owned but not nested anywhere (none in well-formed forms) come last.
  for (const auto& component : Form.Components()) {
    bool seen = false;
    for (const auto* d : done) seen = seen || d == component.get();
    if (!seen) Walk(*component, root + "." + Segment(*component), lines, done);
  }
  return lines;
}

}  // namespace rux
