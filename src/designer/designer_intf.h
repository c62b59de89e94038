// The contract between the editor and the layout designer of the translated preview. The editor
// pushes grid edits into the live form through IVaqFormDesigner; the designer reports moves,
// resizes and selections back through the notifier the editor hands it each time the translated
// preview is shown. The designer holds the only reference to its notifier.
#pragma once

#include <memory>
#include <string>

namespace rux {

struct TPoint {
  int X = 0;
  int Y = 0;
};

class IVaqFormDesignerNotifier {
 public:
  virtual ~IVaqFormDesignerNotifier() = default;
  // `Name` is the component path the designer builds: "O:" segments joined by "." without a final
  // "." (O:Form1.O:Panel1.O:Button1). Moved: the new left/top; resized: the new width/height.
  virtual void ComponentMoved(const std::string& Name, TPoint Point) = 0;
  virtual void ComponentResized(const std::string& Name, TPoint Point) = 0;
  virtual void ComponentSelected(const std::string& Name) = 0;
};

class IVaqFormDesigner {
 public:
  virtual ~IVaqFormDesigner() = default;
  virtual void SetNotifier(std::shared_ptr<IVaqFormDesignerNotifier> Notifier) = 0;
  // Applies a value to a property of a component of the translated preview (ObjectName: the
  // component's name; PropName: the first property name; Value: the value's first token as text).
  virtual void SetPropertyValue(const std::string& ObjectName, const std::string& PropName,
                                const std::string& Value) = 0;
};

// The designer's options as the option page edits them.
class IVaqFormDesignerOptions {
 public:
  virtual ~IVaqFormDesignerOptions() = default;
  virtual void UpdateOptions() = 0;
};

}  // namespace rux
