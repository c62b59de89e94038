// The form-file lists of the notes headers: each inherited form names itself and the translated
// forms it builds on, nearest first, relative to its own folder.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "updater/class_discovery.h"

namespace rux {
namespace {

TFormInfo Info(std::string formClass, std::string ancestor) {
  TFormInfo info;
  info.FormClass = std::move(formClass);
  info.Ancestor = std::move(ancestor);
  return info;
}

TEST(FormFileLists, ChainsNearestFirstRelativeToTheFormsFolder) {
  const TFormInfo base = Info("TBase", ""), middle = Info("TMiddle", "tbase"),
                  leaf = Info("TLeaf", "TMiddle"), alone = Info("TAlone", "TForm"),
                  foreign = Info("TForeign", "TNotInTheProject"), loopA = Info("TLoopA", "TLoopB"),
                  loopB = Info("TLoopB", "TLoopA");
  const std::vector<TProjectForm> forms = {
      {"/p/de-DE/Base.rux", &base},          {"/p/de-DE/sub/Middle.rux", &middle},
      {"/p/de-DE/sub/deep/Leaf.rux", &leaf}, {"/p/de-DE/Alone.rux", &alone},
      {"/p/de-DE/Foreign.rux", &foreign},    {"/p/de-DE/LoopA.rux", &loopA},
      {"/p/de-DE/LoopB.rux", &loopB},        {"/p/de-DE/NoInfo.rux", nullptr},
  };
  const std::vector<std::string> expected = {
      "",
      "Middle.rux;../Base.rux",
      "Leaf.rux;../Middle.rux;../../Base.rux",
      "",
      "",
      "LoopA.rux;LoopB.rux",
      "LoopB.rux;LoopA.rux",
      "",
  };
  EXPECT_EQ(FormFileLists(forms), expected);
}

}  // namespace
}  // namespace rux
