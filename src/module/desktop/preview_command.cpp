#include "module/desktop/preview_command.h"

#include <iostream>

#include "framework/widgets/render.h"
#include "module/desktop/application.h"
#include "viewer/preview.h"

namespace rux {

int RunPreview(const vaq::Arguments& Args) {
  TPreviewRequest request;
  request.File = Args.Positional.at(0);
  int sides = Args.Has("--original") + Args.Has("--translated") + Args.Has("--both");
  if (sides > 1) throw vaq::UsageError("choose one of --original, --translated and --both");
  if (Args.Has("--original")) request.Side = TPreviewSide::Original;
  if (Args.Has("--both")) request.Side = TPreviewSide::Both;
  request.Png = Args.Value("--png");
  request.Tree = Args.Has("--tree");
  request.Lang = Args.Value("--lang");
  // Pictures and trees need no display.
  vaq::desktop::Application(!request.Png.empty() || request.Tree);
  vaq::widgets::PrepareApplication();
  int result = RunPreviewRequest(request, std::cout, std::cerr);
  std::cout.flush();
  return result;
}

}  // namespace rux
