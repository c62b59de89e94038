// vaq edit: opens the editor window, or renders it into a PNG picture with --screenshot.
#include "module/desktop/edit_command.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "editor/rux_form.h"
#include "editor/views/rux_editor_window.h"
#include "host/core/errors.h"
#include "host/core/files.h"
#include "host/core/text.h"
#include "module/desktop/application.h"
#include "notes/column_table.h"
#include "notes/file_names.h"
#include "viewer/viewer.h"

namespace rux {
namespace {

namespace fs = std::filesystem;

// A form file of the given name: a notes file names the form beside it.
std::string FormOf(const std::string& name) {
  const fs::path path(name);
  const std::string ext = path.extension().string();
  if (vaq::AnsiSameText(ext, ".ruz") || vaq::AnsiSameText(ext, ".goz")) {
    return fs::path(path).replace_extension(NoteExtToFileExt(ext)).string();
  }
  return name;
}

// Makes the record with the Id current (the Id compared without case); false when the grid does not
// show it.
bool GoTo(TfrmVaqRuxForm& Logic, const std::string& Id) {
  const int idColumn = Logic.EnumToCol(ColId);
  for (const int row : Logic.VaqGrid.ShownRows()) {
    if (Logic.VaqGrid.GetMgrIndex(row) < 0 || !vaq::AnsiSameText(Logic.VaqGrid.Cell(idColumn, row), Id))
      continue;
    Logic.VaqGrid.SetCurrent(Logic.EnumToCol(ColCurr), row);
    Logic.StateChanged();
    return true;
  }
  return false;
}

// A preview window as it shows on a desktop: its contents under a title bar with its title.
QPixmap WindowWithTitle(QWidget& Window) {
  const QPixmap contents = Window.grab();
  constexpr int kTitle = 24;
  QPixmap picture(contents.width(), contents.height() + kTitle);
  picture.fill(QColor(60, 90, 140));
  QPainter painter(&picture);
  painter.setPen(Qt::white);
  QFont font = Window.font();
  font.setBold(true);
  painter.setFont(font);
  painter.drawText(QRect(8, 0, contents.width() - 16, kTitle), Qt::AlignVCenter | Qt::AlignLeft,
                   Window.windowTitle());
  painter.drawPixmap(0, kTitle, contents);
  return picture;
}

// The editor as the translator sees it: the window, and the previews it shows beside it.
QPixmap Picture(QWidget& Window) {
  std::vector<QPixmap> parts{Window.grab()};
  for (const bool original : {true, false}) {
    const vaq::widgets::TForm* form = RuxViewer().Form(original);
    if (form && form->Window()->isVisible()) parts.push_back(WindowWithTitle(*form->Window()));
  }
  if (parts.size() == 1) return parts.front();
  constexpr int kGap = 12;
  int width = 0;
  int height = 0;
  for (const QPixmap& part : parts) {
    width += part.width() + (width > 0 ? kGap : 0);
    height = std::max(height, part.height());
  }
  QPixmap picture(width, height);
  picture.fill(QColor(96, 96, 96));
  QPainter painter(&picture);
  int x = 0;
  for (const QPixmap& part : parts) {
    painter.drawPixmap(x, 0, part);
    x += part.width() + kGap;
  }
  return picture;
}

}  // namespace

int RunEdit(const vaq::Arguments& Args) {
  const std::string lang = Args.Value("--lang");
  std::vector<std::string> files;
  std::string base;
  if (!lang.empty()) {
    if (Args.Positional.size() != 1) throw vaq::UsageError("--lang needs one PROJECT folder");
    base = (fs::absolute(Args.Positional.front()) / lang).lexically_normal().string();
    if (!fs::is_directory(base)) {
      std::fprintf(stderr, "%s: no language folder (run vaq update %s --lang %s first)\n", base.c_str(),
                   Args.Positional.front().c_str(), lang.c_str());
      return vaq::kExitFileFailed;
    }
    files = views::ListFormFiles(base);
  } else {
    if (Args.Positional.empty()) throw vaq::UsageError("give PROJECT --lang TAG or one or more FILEs");
    for (const std::string& name : Args.Positional) {
      const std::string form = FormOf(name);
      if (!vaq::FileExists(FileNameToNoteName(form))) {
        std::fprintf(stderr, "%s: no notes file %s\n", name.c_str(), FileNameToNoteName(form).c_str());
        return vaq::kExitFileFailed;
      }
      files.push_back(fs::absolute(form).lexically_normal().string());
    }
    base = fs::path(files.front()).parent_path().string();
  }
  // The first form that has notes opens in the grid.
  std::string first;
  for (const std::string& file : files) {
    if (vaq::FileExists(FileNameToNoteName(file))) {
      first = file;
      break;
    }
  }

  const std::string screenshot = Args.Value("--screenshot");
  QApplication& app = vaq::desktop::Application(!screenshot.empty());
  // Without a display the window could only wait for input no one can give.
  const QString platform = QGuiApplication::platformName();
  if (screenshot.empty() &&
      (platform == QStringLiteral("offscreen") || platform == QStringLiteral("minimal"))) {
    std::fprintf(stderr,
                 "vaq edit: no display to show the editor on (DISPLAY is not set); --screenshot OUT.png "
                 "renders it without one\n");
    return vaq::kExitFileFailed;
  }
  TfrmVaqRuxForm* logic = frmVaqForm();
  if (logic == nullptr) {
    std::fprintf(stderr, "vaq edit: the editor is not started\n");
    return vaq::kExitFileFailed;
  }
  int status = vaq::kExitOk;
  {
    auto window = views::CreateRuxEditorWindow(*logic);
    window->SetFiles(base, files);
    if (!screenshot.empty()) {
      // No one answers a dialog of a picture: messages go to standard error and fail the run.
      window->SetUnattended(true);
      window->SetIdleWork(false);  // and no one opens its previews
    }
    window->show();
    if (!first.empty() && !window->OpenFile(first)) status = vaq::kExitFileFailed;
    if (const std::string id = Args.Value("--goto");
        !id.empty() && status == vaq::kExitOk && !GoTo(*logic, id)) {
      std::fprintf(stderr, "%s: no record %s\n", first.c_str(), id.c_str());
      status = vaq::kExitFileFailed;
    }
    window->Sync();
    if (!screenshot.empty()) {
      QApplication::processEvents();
      if (!Picture(*window).save(QString::fromStdString(screenshot), "PNG")) {
        std::fprintf(stderr, "%s: cannot write the picture\n", screenshot.c_str());
        status = vaq::kExitFileFailed;
      } else {
        std::fprintf(stderr, "%s: written\n", screenshot.c_str());
      }
      if (window->UnattendedProblems() > 0) status = vaq::kExitFileFailed;
    } else {
      app.exec();
    }
    // Closed, not hidden: the preview choice stays for the next start.
    window->close();
  }
  return status;
}

}  // namespace rux
