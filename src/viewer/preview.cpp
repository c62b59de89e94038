#include "viewer/preview.h"

#include <algorithm>
#include <filesystem>

#include <QApplication>
#include <QPainter>

#include "framework/widgets/render.h"
#include "host/core/errors.h"
#include "host/core/locale.h"
#include "notes/file_names.h"
#include "notes/file_services.h"
#include "viewer/tree.h"
#include "viewer/viewer.h"

namespace rux {

namespace fs = std::filesystem;

namespace {

bool IsNotesName(const std::string& File) {
  std::string ext = fs::path(File).extension().string();
  return vaq::widgets::SameText(ext, ".ruz") || vaq::widgets::SameText(ext, ".goz");
}

std::string LanguageName(const std::string& Tag, const char* Fallback) {
  vaq::TLCID lcid = vaq::StrToLCID(Tag);
  std::string name = lcid ? vaq::LCIDToLangName(lcid) : std::string();
  return name.empty() ? std::string(Fallback) : name;
}

}  // namespace

TPreviewTarget ResolvePreview(const TPreviewRequest& Request) {
  TPreviewTarget target;
  if (!fs::exists(Request.File)) throw vaq::EFileError("Cannot open file \"" + Request.File + "\"");
  std::string form = Request.File;
  if (IsNotesName(form)) {
    fs::path p(form);
    form = (p.parent_path() / (p.stem().string() + NoteExtToFileExt(p.extension().string()))).string();
  }
  if (!fs::exists(FileNameToNoteName(form))) {
    // An original form: its notes lie in a language folder below it.
    fs::path p(form);
    fs::path dir = p.parent_path().empty() ? fs::path(".") : p.parent_path();
    std::vector<fs::path> candidates;
    if (!Request.Lang.empty()) {
      candidates.push_back(dir / Request.Lang / p.filename());
    } else {
      std::error_code error;
      for (const auto& entry : fs::directory_iterator(dir, error))
        if (entry.is_directory()) candidates.push_back(entry.path() / p.filename());
      std::sort(candidates.begin(), candidates.end());
    }
    for (const auto& candidate : candidates)
      if (fs::exists(FileNameToNoteName(candidate.string()))) {
        form = candidate.string();
        break;
      }
  }
  target.FormFile = form;
  target.HasNotes = fs::exists(FileNameToNoteName(form));
  vaq::TFileStats stats;
  if (target.HasNotes) GetStats(form, false, stats);
  target.SourceName = LanguageName(stats.SourceLang, "Original");
  target.TargetName = LanguageName(stats.TargetLang, "Translation");
  return target;
}

QImage SideBySide(const QImage& Left, const std::string& LeftCaption, const QImage& Right,
                  const std::string& RightCaption) {
  const int gap = 16, caption = 24, margin = 8;
  int width = margin + Left.width() + gap + Right.width() + margin;
  int height = caption + std::max(Left.height(), Right.height()) + margin;
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(QColor(0xFF, 0xFF, 0xFF));
  QPainter painter(&image);
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(13);
  font.setBold(true);
  painter.setFont(font);
  painter.setPen(QColor(0x20, 0x20, 0x20));
  painter.drawText(QRect(margin, 0, Left.width(), caption), Qt::AlignLeft | Qt::AlignVCenter,
                   QString::fromStdString(LeftCaption));
  painter.drawText(QRect(margin + Left.width() + gap, 0, Right.width(), caption),
                   Qt::AlignLeft | Qt::AlignVCenter, QString::fromStdString(RightCaption));
  painter.drawImage(margin, caption, Left);
  painter.drawImage(margin + Left.width() + gap, caption, Right);
  return image;
}

int RunPreviewRequest(const TPreviewRequest& Request, std::ostream& Out, std::ostream& Err) {
  TPreviewTarget target;
  TRuxViewer& viewer = RuxViewer();
  bool both = Request.Side == TPreviewSide::Both && target.HasNotes;
  try {
    target = ResolvePreview(Request);
    both = Request.Side == TPreviewSide::Both && target.HasNotes;
    bool original = Request.Side == TPreviewSide::Original || !target.HasNotes;
    if (both || original) viewer.CreateForm(target.FormFile, true);
    if (both || !original) viewer.CreateForm(target.FormFile, false);
  } catch (const std::exception& error) {
    Err << "vaq preview: " << Request.File << ": " << error.what() << "\n";
    return 1;
  }
  std::vector<vaq::widgets::TForm*> forms;
  for (bool original : {true, false})
    if (vaq::widgets::TForm* form = viewer.Form(original)) forms.push_back(form);
  if (forms.empty() || (forms.front()->ChildComponents().empty() && forms.front()->Name().empty())) {
    Err << "vaq preview: " << Request.File << ": the form cannot be read\n";
    return 1;
  }
  if (Request.Tree) {
    for (vaq::widgets::TForm* form : forms) {
      if (forms.size() > 1)
        Out << "# " << (form == viewer.OrigForm() ? target.SourceName : target.TargetName) << "\n";
      for (const auto& line : FormTreeLines(*form)) Out << line << "\n";
    }
  }
  if (!Request.Png.empty()) {
    QImage image;
    if (forms.size() > 1)
      image = SideBySide(vaq::widgets::RenderForm(*forms[0]), target.SourceName,
                         vaq::widgets::RenderForm(*forms[1]), target.TargetName);
    else
      image = vaq::widgets::RenderForm(*forms[0]);
    if (!image.save(QString::fromStdString(Request.Png), "PNG")) {
      Err << "vaq preview: cannot write \"" << Request.Png << "\"\n";
      return 1;
    }
  }
  if (!Request.Tree && Request.Png.empty()) {
    int open = 0;
    viewer.OnClose = [&open](vaq::widgets::TComponent*) {
      if (--open <= 0) QApplication::quit();
    };
    for (vaq::widgets::TForm* form : forms) {
      ++open;
      viewer.ShowForm(target.FormFile, form == viewer.OrigForm(), false);
    }
    QApplication::exec();
    viewer.OnClose = nullptr;
  }
  return 0;
}

}  // namespace rux
