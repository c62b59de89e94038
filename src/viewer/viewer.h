// The form preview: TRuxViewer builds the live original and translated forms of a form file from
// the writer's output (the notes' original or current values), shows, hides, restyles and frees
// them. One viewer per process, reached through RuxViewer().
#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "designer/designer_intf.h"
#include "framework/widgets/form.h"
#include "host/core/types.h"
#include "host/framework/formstream.h"

namespace rux {

// A stream of binary form data and the component name of its root, read after the form.
struct TFormStream {
  vaq::TMemoryStream Stream;
  std::string FormName;
};

class TRuxViewer {
 public:
  TRuxViewer();
  ~TRuxViewer();
  TRuxViewer(const TRuxViewer&) = delete;
  TRuxViewer& operator=(const TRuxViewer&) = delete;

  // The live forms (nullptr when not built); owned by the viewer.
  vaq::widgets::TForm* OrigForm() const { return OrigForm_.get(); }
  vaq::widgets::TForm* XlatForm() const { return XlatForm_.get(); }
  vaq::widgets::TForm* Form(bool Original) const { return Original ? OrigForm() : XlatForm(); }
  // The root component name of the last form read for each side (the designer's first segment).
  const std::string& FormName(bool Original) const { return Original ? OrigFormName_ : XlatFormName_; }

  // Whether the translated form gets the layout designer (the fit check only measures forms).
  bool WithDesigner = true;
  // Whether the forms are built to be measured only, never shown or painted (TForm::BuiltToMeasure).
  bool ToMeasure = false;
  // Called when the user closes either form (the editor's ViewerClose).
  std::function<void(vaq::widgets::TComponent* Sender)> OnClose;

  // Builds the original (Original) or the translated form of form file `FileName` unless it exists:
  // the form files recorded in the notes header first (the most basic first), the form itself
  // last, each written from its notes into a temporary file under the language's locale and read
  // onto one root. An entry without notes is read from the form file itself. Exceptions other than
  // "VFI" propagate (after the temporary file is deleted and the thread locale restored).
  void CreateForm(const std::string& FileName, bool Original);
  // CreateForm, then shows the form and applies the stay-on-top style, keeping the focus where
  // it was.
  void ShowForm(const std::string& FileName, bool Original, bool OnTop);
  // Hides the form; the translated form leaves the design state first.
  void HideForm(bool Original);
  // Frees the form; the translated form's resize handler is cleared first.
  void DestroyForm(bool Original);
  // The close handler of both forms.
  void FormClose(vaq::widgets::TComponent* Sender);
  void UpdateFormStyle(bool Original, bool OnTop);
  // Nil until the layout designer exists.
  IVaqFormDesigner* GetDesigner() const;
  IVaqFormDesignerOptions* GetDesignerOptions() const;
  // Copies the grid options of the core's option set into the designer when there is one.
  void UpdateDesignerOptions();
  // The form reader's class-lookup handler. Every live control of the widget layer decodes its
  // texts with the locale it was created under, so no class needs replacing: the class stays.
  void FindComponentClass(const std::string& ClassName, const vaq::TClassInfo*& Class);

  // The reader's handler for an inline frame of a class the catalogue does not know: reads the
  // frame's own form, found among the form files beside the entry being read (written from its
  // notes like the entry), into the frame, so that the frame shows its controls.
  void ReadInlineFrame(const std::string& ClassName, vaq::widgets::TComponent& Frame);

  // The width of the screen the forms are placed on (for Left): the primary screen's by default.
  std::function<int()> ScreenWidth;

 private:
  void ReadEntry(vaq::widgets::TForm& Root, const std::string& Entry, bool Original, bool Native,
                 vaq::TLCID Locale, bool& Loaded, std::string& FormName);
  void Prepare(vaq::widgets::TForm& Form, bool Original);
  // The form data of `Entry`: its text written from its notes in memory, or the form file itself
  // when it has none; nothing when neither can be had.
  static std::optional<std::string> EntryData(const std::string& Entry, bool Original);
  // The form file of `Folder` with `Extension` whose root is of class `ClassName`; "" when none is.
  std::string FrameFile(const std::string& Folder, const std::string& Extension,
                        const std::string& ClassName);

  struct TFrameIndex {
    std::filesystem::file_time_type Stamp;
    std::map<std::string, std::string> Classes;  // lower-case root class -> form file
  };
  std::map<std::string, TFrameIndex> FrameIndexes_;

  // What the entry being read is, for the frames inside it.
  struct TEntryContext {
    std::string Folder;
    std::string Extension;
    bool Original;
    bool Native;
    vaq::TLCID Locale;
    int Depth = 0;
  };
  TEntryContext* Context_ = nullptr;

  std::unique_ptr<vaq::widgets::TForm> OrigForm_;
  std::unique_ptr<vaq::widgets::TForm> XlatForm_;
  std::string OrigFormName_, XlatFormName_;
};

// The viewer, created on first use.
TRuxViewer& RuxViewer();
// Frees the viewer and its forms (the module's shut-down step).
void ReleaseRuxViewer();

// Left of a preview form of width `Width` on a screen `ScreenWidth` wide: centred in the left half
// for the original, in the right half for the translated form, kept on the screen, never negative.
int PreviewLeft(int Width, int ScreenWidth, bool Original);

// Loads form text or binary form data into `Stream` ready for reading: native form text gets the
// grid font for `Locale` in place of "ParentFont =  True", and form text is converted to binary
// under the thread locale; binary data is taken as it is.
void LoadFormStream(const std::string& FileName, bool Native, vaq::TLCID Locale, TFormStream& Stream);
void LoadFormData(std::string Data, bool Native, vaq::TLCID Locale, TFormStream& Stream);

// Reads `Stream` into `Root` with the viewer's handlers (class lookup, accepting missing event
// handlers, skipping errors) and sets the stream's FormName.
void ReadFormStream(TFormStream& Stream, vaq::widgets::TForm& Root);

// The module start-up step of the viewer: outside the IDE, registers the frameworks' standard
// classes with their class groups. Runs once.
void RegisterFrameworkClasses();
// The viewer's start-up and shut-down as the module runs them: the start-up also installs the
// viewer as the editor's preview (InstallEditorViewer), the shut-down removes it.
void ViewerStartup();
void ViewerShutdown();

}  // namespace rux
