#include "notes/file_names.h"

#include <gtest/gtest.h>

#include "host/core/locale.h"

namespace rux {
namespace {

TEST(FileNames, NoteNameOfFormFile) {
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\p\\Unit1.RUX", "C:\\p\\Unit1.ruz"},
      {"Main.gox", "Main.goz"},
      {"/home/p/Main.GoX", "/home/p/Main.goz"},
      {"Unit1.PAS", "Unit1.pas"},
      {"Unit1", "Unit1"},
      {"/a.b/file", "/a.b/file"},
      {"C:\\a.b\\file", "C:\\a.b\\file"},
      {"/a.b/x.y.RUX", "/a.b/x.y.ruz"},
      {"Unit1.", "Unit1."},
  };
  for (const auto& [name, expected] : cases) EXPECT_EQ(FileNameToNoteName(name), expected) << name;
}

TEST(FileNames, ExtensionMappingsIgnoreCaseAndLowerTheRest) {
  EXPECT_EQ(FileExtToNoteExt(".RUX"), ".ruz");
  EXPECT_EQ(FileExtToNoteExt(".gOx"), ".goz");
  EXPECT_EQ(FileExtToNoteExt(".ruz"), ".ruz");
  EXPECT_EQ(FileExtToNoteExt(".INI"), ".ini");
  EXPECT_EQ(NoteExtToFileExt(".RUZ"), ".rux");
  EXPECT_EQ(NoteExtToFileExt(".Goz"), ".gox");
  EXPECT_EQ(NoteExtToFileExt(".TXT"), ".txt");
  EXPECT_EQ(NoteExtToFileExt(""), "");
}

TEST(FileNames, LowerCaseFollowsTheThreadLocale) {
  vaq::ScopedThreadLocale german(vaq::StrToLCID("de-DE"));  // code page 1252
  EXPECT_EQ(FileExtToNoteExt(".\xC4X"), ".\xE4x");
  EXPECT_EQ(FileNameToNoteName("D:\\\xC4.\xC4X"), "D:\\\xC4.\xE4x");
}

}  // namespace
}  // namespace rux
