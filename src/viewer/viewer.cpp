#include "viewer/viewer.h"

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <vector>

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>

#include "creator/creator.h"
#include "creator/form_text.h"
#include "designer/option_page.h"
#include "designer/qt/designer_hook.h"
#include "editor/editor_viewer.h"
#include "framework/widgets/controls.h"
#include "framework/widgets/graphics.h"
#include "framework/widgets/reader.h"
#include "host/core/errors.h"
#include "host/core/files.h"
#include "host/core/locale.h"
#include "host/core/options.h"
#include "host/core/streams.h"
#include "host/framework/classes.h"
#include "notes/file_names.h"
#include "notes/file_services.h"
#include "notes/module_state.h"
#include "notes/rux_mgr.h"

namespace rux {

using vaq::widgets::TForm;

namespace {

std::unique_ptr<TRuxViewer> Viewer;

// Exceptions with this message ask for the entry to be read again from the start.
constexpr const char* kRetryMessage = "VFI";
// Bound on those repetitions, so that a persistent "VFI" cannot hang the preview.
constexpr int kMaxRetries = 8;

bool IsQtBasedFile(const std::string& FileName) {
  std::string ext = std::filesystem::path(FileName).extension().string();
  return vaq::widgets::SameText(ext, ".gox");
}

std::vector<std::string> SplitFormFiles(const std::string& Text) {
  std::vector<std::string> list;
  if (Text.empty()) return list;
  std::size_t start = 0;
  for (;;) {
    std::size_t semi = Text.find(';', start);
    list.push_back(Text.substr(start, semi == std::string::npos ? std::string::npos : semi - start));
    if (semi == std::string::npos) break;
    start = semi + 1;
  }
  return list;
}

void ReplaceAll(std::string& Text, const std::string& Old, const std::string& New) {
  for (std::size_t at = Text.find(Old); at != std::string::npos; at = Text.find(Old, at + New.size()))
    Text.replace(at, Old.size(), New);
}

}  // namespace

TRuxViewer::TRuxViewer() {
  ScreenWidth = [] {
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().width() : 1024;
  };
}

TRuxViewer::~TRuxViewer() {
  DestroyForm(true);
  DestroyForm(false);
}

TRuxViewer& RuxViewer() {
  if (!Viewer) Viewer = std::make_unique<TRuxViewer>();
  return *Viewer;
}

void ReleaseRuxViewer() {
  Viewer.reset();
}

namespace {

// The editor reaches the preview through its viewer slot; this hands its calls to RuxViewer().
class TEditorViewerAdapter : public IEditorViewer {
 public:
  void ShowForm(const std::string& FileName, bool Original, bool StayOnTop) override {
    Connect();
    RuxViewer().ShowForm(FileName, Original, StayOnTop);
  }
  void HideForm(bool Original) override { RuxViewer().HideForm(Original); }
  void DestroyForm(bool Original) override { RuxViewer().DestroyForm(Original); }
  void CreateForm(const std::string& FileName, bool Original) override {
    Connect();
    RuxViewer().CreateForm(FileName, Original);
  }
  void UpdateFormStyle(bool Original, bool StayOnTop) override {
    RuxViewer().UpdateFormStyle(Original, StayOnTop);
  }
  IVaqFormDesigner* GetDesigner() override { return RuxViewer().GetDesigner(); }
  void UpdateDesignerOptions() override { RuxViewer().UpdateDesignerOptions(); }

 private:
  void Connect() {
    RuxViewer().OnClose = [this](vaq::widgets::TComponent* Sender) {
      if (OnClose && Sender) OnClose(Sender->Tag());
    };
  }
};

std::unique_ptr<TEditorViewerAdapter> Adapter;

}  // namespace

void ViewerStartup() {
  RegisterFrameworkClasses();
  if (!Adapter) {
    Adapter = std::make_unique<TEditorViewerAdapter>();
    InstallEditorViewer(Adapter.get());
  }
}

void ViewerShutdown() {
  if (Adapter) {
    InstallEditorViewer(nullptr);
    Adapter.reset();
  }
  ReleaseRuxViewer();
}

int PreviewLeft(int Width, int ScreenWidth, bool Original) {
  int half = ScreenWidth / 2;
  int visible = std::min(Width, half);
  int left = (half - visible) / 2;
  if (!Original) {
    left += half;
    if (left + Width > ScreenWidth) left = ScreenWidth - Width;
  }
  return std::max(left, 0);
}

void LoadFormStream(const std::string& FileName, bool Native, vaq::TLCID Locale, TFormStream& Stream) {
  vaq::TMemoryStream file;
  file.LoadFromFile(FileName);
  LoadFormData(std::move(file.Data()), Native, Locale, Stream);
}

void LoadFormData(std::string Data, bool Native, vaq::TLCID Locale, TFormStream& Stream) {
  std::string text = std::move(Data);
  if (Native) {
    // The grid font of the language replaces the parent font of the form itself.
    vaq::widgets::TFontSpec font;
    (void)Locale;
    std::string charset = vaq::widgets::CharsetToIdent(font.Charset).value_or("DEFAULT_CHARSET");
    std::string block = "Font.Charset = " + charset +
                        "\r\nFont.Color   = " + vaq::widgets::ColorToString(font.Color) +
                        "\r\nFont.Height  = " + std::to_string(font.Height) + "\r\nFont.Name    = '" +
                        font.Name + "'\r\nFont.Style   = []";
    ReplaceAll(text, "ParentFont =  True", block);
  }
  vaq::TMemoryStream input(std::move(text));
  vaq::TStreamOriginalFormat format = vaq::TestStreamFormat(input);
  if (format == vaq::TStreamOriginalFormat::sofUnknown) throw vaq::EReadError("Not a form file");
  if (format == vaq::TStreamOriginalFormat::sofText) {
    Stream.Stream.Clear();
    vaq::ObjectTextToResource(input, Stream.Stream);
  } else {
    Stream.Stream = std::move(input);
  }
  Stream.Stream.Seek(0);
}

void ReadFormStream(TFormStream& Stream, TForm& Root) {
  Stream.Stream.Seek(0);
  vaq::SkipResourceHeader(Stream.Stream);
  {
    vaq::TFormReader reader(Stream.Stream, 4096);
    vaq::widgets::TReaderHandlers handlers;
    handlers.OnFindComponentClass = [](const std::string& ClassName, const vaq::TClassInfo*& Class) {
      RuxViewer().FindComponentClass(ClassName, Class);
    };
    handlers.OnFindMethod = [](const std::string&, bool& Error) { Error = false; };
    handlers.OnError = [](const std::string&, bool& Handled) { Handled = true; };
    handlers.OnCreateInline = [](const std::string& ClassName, vaq::widgets::TComponent& Frame) {
      RuxViewer().ReadInlineFrame(ClassName, Frame);
    };
    vaq::widgets::ReadRootComponent(reader, Root, handlers);
  }
  Stream.Stream.Seek(0);
  vaq::SkipResourceHeader(Stream.Stream);
  vaq::TFormReader reader(Stream.Stream, 4096);
  reader.ReadSignature();
  std::uint8_t flags;
  std::int32_t position;
  reader.ReadPrefix(flags, position);
  reader.ReadStr();
  Stream.FormName = reader.ReadStr();
}

void TRuxViewer::FindComponentClass(const std::string&, const vaq::TClassInfo*&) {}

std::optional<std::string> TRuxViewer::EntryData(const std::string& Entry, bool Original) {
  const std::string notes = FileNameToNoteName(Entry);
  try {
    // A form without notes previews as it is.
    if (!std::filesystem::exists(notes)) return vaq::ReadFileBytes(Entry);
    return GenerateFormText(vaq::LoadLines(notes), Original);
  } catch (const std::exception&) {
    // Notes or a form that cannot be read, a bad Order: the entry contributes nothing.
    return std::nullopt;
  }
}

void TRuxViewer::ReadEntry(TForm& Root, const std::string& Entry, bool Original, bool Native,
                           vaq::TLCID Locale, bool& Loaded, std::string& FormName) {
  Loaded = false;
  // The form's data is written from its notes in memory: no file is made for the preview.
  const std::optional<std::string> data = EntryData(Entry, Original);
  if (!data) {
    QApplication::beep();
    return;
  }
  std::filesystem::path entry(Entry);
  TEntryContext context{entry.parent_path().string(), entry.extension().string(), Original, Native, Locale};
  struct TContextGuard {
    TEntryContext*& Slot;
    TEntryContext* Previous;
    ~TContextGuard() { Slot = Previous; }
  } contextGuard{Context_, Context_};
  Context_ = &context;
  for (int attempt = 0; !Loaded; ++attempt) {
    try {
      TFormStream stream;
      vaq::ScopedThreadLocale locale(Locale);
      try {
        LoadFormData(*data, Native, Locale, stream);
      } catch (const vaq::EParserError&) {
        // Text that does not convert: as a writer that fails, the entry contributes nothing.
        QApplication::beep();
        return;
      }
      ReadFormStream(stream, Root);
      FormName = stream.FormName;
      Loaded = true;
    } catch (const std::exception& error) {
      if (std::string(error.what()) != kRetryMessage || attempt + 1 >= kMaxRetries) throw;
    }
  }
}

namespace {

// The class name of the root of a form file; "" when it is no form. Only the file's head is read.
std::string RootClassOf(const std::string& FileName) {
  try {
    std::ifstream in(FileName, std::ios::binary);
    std::string head(1024, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(in.gcount()));
    vaq::TMemoryStream file(std::move(head));
    if (vaq::TestStreamFormat(file) == vaq::TStreamOriginalFormat::sofText) {
      // The header line is enough: "object Name: TClass" (or inherited/inline).
      std::string first = file.Data().substr(0, file.Data().find_first_of("\r\n"));
      std::size_t colon = first.find(':');
      if (colon == std::string::npos) return {};
      std::string name = first.substr(colon + 1);
      name.erase(0, name.find_first_not_of(" \t"));
      return name.substr(0, name.find_first_of(" \t["));
    }
    vaq::SkipResourceHeader(file);
    vaq::TFormReader reader(file);
    reader.ReadSignature();
    std::uint8_t flags;
    std::int32_t position;
    reader.ReadPrefix(flags, position);
    return reader.ReadStr();
  } catch (const std::exception&) {
    return {};
  }
}

}  // namespace

std::string TRuxViewer::FrameFile(const std::string& Folder, const std::string& Extension,
                                  const std::string& ClassName) {
  // The form files of a folder by their root classes, read once while the folder stays unchanged:
  // a folder of hundreds of forms that use frames is not read again for every frame.
  namespace fs = std::filesystem;
  const fs::path folder = Folder.empty() ? fs::path(".") : fs::path(Folder);
  std::error_code error;
  const auto stamp = fs::last_write_time(folder, error);
  TFrameIndex& index = FrameIndexes_[folder.string() + "|" + vaq::widgets::LowerCase(Extension)];
  if (index.Classes.empty() || index.Stamp != stamp) {
    index.Classes.clear();
    index.Stamp = stamp;
    for (const auto& item : fs::directory_iterator(folder, error)) {
      if (!item.is_regular_file(error) ||
          !vaq::widgets::SameText(item.path().extension().string(), Extension))
        continue;
      const std::string root = vaq::widgets::LowerCase(RootClassOf(item.path().string()));
      // The first file of a class wins, in the folder's order of names.
      auto& file = index.Classes[root];
      if (file.empty() || item.path().string() < file) file = item.path().string();
    }
  }
  const auto it = index.Classes.find(vaq::widgets::LowerCase(ClassName));
  return it == index.Classes.end() ? std::string() : it->second;
}

void TRuxViewer::ReadInlineFrame(const std::string& ClassName, vaq::widgets::TComponent& Frame) {
  // Frames inside frames are followed a few levels deep, never round in a circle.
  if (!Context_ || Context_->Depth >= 4) return;
  const std::string frameFile = FrameFile(Context_->Folder, Context_->Extension, ClassName);
  if (frameFile.empty()) return;
  TEntryContext inner = *Context_;
  ++inner.Depth;
  TEntryContext* outer = Context_;
  Context_ = &inner;
  try {
    if (const std::optional<std::string> data = EntryData(frameFile, inner.Original)) {
      TFormStream stream;
      LoadFormData(*data, inner.Native, inner.Locale, stream);
      stream.Stream.Seek(0);
      vaq::SkipResourceHeader(stream.Stream);
      vaq::TFormReader reader(stream.Stream, 4096);
      vaq::widgets::TReaderHandlers handlers;
      handlers.OnFindMethod = [](const std::string&, bool& Error) { Error = false; };
      handlers.OnError = [](const std::string&, bool& Handled) { Handled = true; };
      handlers.OnCreateInline = [this](const std::string& Name, vaq::widgets::TComponent& Inner) {
        ReadInlineFrame(Name, Inner);
      };
      vaq::widgets::ReadComponentInto(reader, Frame, handlers);
      // The controls of the frame's own form are inherited where the frame is used.
      Frame.MarkOwnedInherited();
      if (auto* placeholder = dynamic_cast<vaq::widgets::TPlaceholder*>(&Frame))
        placeholder->SetResolved(true);
    }
  } catch (const std::exception&) {
    // A frame that cannot be read stays a placeholder.
  }
  Context_ = outer;
}

void TRuxViewer::CreateForm(const std::string& FileName, bool Original) {
  if (Form(Original)) return;
  bool native = !IsQtBasedFile(FileName);
  vaq::ActivateClassGroup(native ? vaq::TClassGroup::Native : vaq::TClassGroup::QtBased);
  auto root = std::make_unique<TForm>();
  root->SetBuiltToMeasure(ToMeasure);

  vaq::TFileStats stats;
  GetStats(FileName, false, stats);
  std::vector<std::string> entries = SplitFormFiles(stats.FormFiles);
  if (entries.empty()) entries.emplace_back();
  entries[0] = FileName;
  // Further form files are named relative to the folder of the form (as the update records them).
  std::filesystem::path folder = std::filesystem::path(FileName).parent_path();
  for (std::size_t i = 1; i < entries.size(); ++i)
    if (!entries[i].empty() && std::filesystem::path(entries[i]).is_relative())
      entries[i] = (folder / entries[i]).string();

  // The languages: the open editor's, else those recorded in the notes header.
  std::string language;
  if (TRuxMgr* mgr = CurrentMgr())
    language = Original ? mgr->Stats.SourceLang : mgr->Stats.TargetLang;
  else
    language = Original ? stats.SourceLang : stats.TargetLang;
  vaq::TLCID locale = vaq::StrToLCID(language);
  if (locale == 0) locale = vaq::VaqGetThreadLocale();

  bool loaded = false;
  std::string formName;
  auto store = [&] {
    (Original ? OrigFormName_ : XlatFormName_) = formName;
    (Original ? OrigForm_ : XlatForm_) = std::move(root);
  };
  try {
    bool ancestors = false;
    for (std::size_t i = entries.size(); i-- > 0;) {
      if (entries[i].empty()) {
        loaded = false;
        continue;
      }
      // What the ancestor forms created is inherited in the form itself: its notes name those
      // components "I:" whether or not the form mentions them.
      if (i == 0 && ancestors) root->MarkOwnedInherited();
      ReadEntry(*root, entries[i], Original, native, locale, loaded, formName);
      ancestors = ancestors || loaded;
    }
  } catch (...) {
    store();
    throw;
  }
  if (loaded) Prepare(*root, Original);
  if (loaded && !Original && WithDesigner)
    AttachDesigner(*root, formName, native ? kNativeDesignerPolicy : kQtDesignerPolicy);
  store();
}

void TRuxViewer::Prepare(TForm& Form, bool Original) {
  Form.OnClose = [this](vaq::widgets::TComponent* Sender) { FormClose(Sender); };
  // A frame (or data module) shows in a window of its own size.
  if (Form.LooksLikeFrame()) Form.SetFrameRoot(true);
  // Both previews keep the form's border style, so that the translated form has the original's
  // window buttons and frame metrics (the outer size the designer reports means the same).
  QWidget* window = Form.Window();
  window->setWindowFlags(Form.WindowFlagsForStyle());
  window->setEnabled(true);
  int screen = ScreenWidth ? ScreenWidth() : 1024;
  Form.SetBounds(PreviewLeft(Form.Width(), screen, Original), 5, Form.Width(), Form.Height());
  if (!Original) Form.SetTag(1);
}

void TRuxViewer::ShowForm(const std::string& FileName, bool Original, bool OnTop) {
  CreateForm(FileName, Original);
  TForm* form = Form(Original);
  if (!form) return;
  QWidget* foreground = QApplication::activeWindow();
  form->Window()->show();
  UpdateFormStyle(Original, OnTop);
  if (foreground && foreground != form->Window()) foreground->activateWindow();
}

void TRuxViewer::HideForm(bool Original) {
  TForm* form = Form(Original);
  if (!form) return;
  if (!Original) form->SetDesigning(false, false);
  form->Window()->hide();
}

void TRuxViewer::DestroyForm(bool Original) {
  if (!Original && XlatForm_) XlatForm_->OnResize = nullptr;
  (Original ? OrigForm_ : XlatForm_).reset();
}

void TRuxViewer::FormClose(vaq::widgets::TComponent* Sender) {
  if (OnClose) OnClose(Sender);
}

void TRuxViewer::UpdateFormStyle(bool Original, bool OnTop) {
  TForm* form = Form(Original);
  if (!form) return;
  QWidget* foreground = QApplication::activeWindow();
  if (!Original) form->SetDesigning(false, false);
  struct TRestore {
    TForm* Form;
    bool Original;
    QWidget* Foreground;
    ~TRestore() {
      if (!Original && Form->Designer()) Form->SetDesigning(true, false);
      if (Foreground && Foreground != Form->Window()) Foreground->activateWindow();
    }
  } restore{form, Original, foreground};
  form->SetFormStyle(OnTop ? vaq::widgets::TFormStyle::fsStayOnTop : vaq::widgets::TFormStyle::fsNormal);
}

IVaqFormDesigner* TRuxViewer::GetDesigner() const {
  return FormDesigner(XlatForm_.get());
}

IVaqFormDesignerOptions* TRuxViewer::GetDesignerOptions() const {
  return FormDesignerOptions(XlatForm_.get());
}

void TRuxViewer::UpdateDesignerOptions() {
  rux::UpdateDesignerOptions(GetDesignerOptions(), vaq::VaqINTOptionProps);
}

}  // namespace rux
