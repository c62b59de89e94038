// Where an import may write: the language folder the command names, inside the project, whatever
// the file says; crafted folders and form paths ("..", absolute paths, symbolic links) lead nowhere.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "exchange/folders.h"
#include "host/core/errors.h"
#include "support/temp_dir.h"

namespace rux::exchange {
namespace {

namespace fs = std::filesystem;

std::string ErrorOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const vaq::EFileError& error) {
    return error.what();
  }
  return "no error";
}

// PROJECT/de-DE, PROJECT/lang/ru and a folder beside the project, which nothing may reach.
struct Layout {
  vaq::testing::TempDir dir;
  fs::path project = fs::path(dir / "demo");
  fs::path outside = fs::path(dir / "other");
  Layout() {
    fs::create_directories(project / "de-DE" / "sub");
    fs::create_directories(project / "lang" / "ru");
    fs::create_directories(outside / "de-DE");
  }
  fs::path Real(const fs::path& path) const { return fs::canonical(path); }
};

TEST(Folders, ExportRecordsTheFolderRelativeToTheProject) {
  const Layout at;
  EXPECT_EQ(RecordedFolder(at.project, at.project / "de-DE"), "de-DE");
  EXPECT_EQ(RecordedFolder(at.project, at.project / "lang" / "ru"), "lang/ru");
  EXPECT_EQ(RecordedFolder(at.project / "." / "", at.project / "lang" / ".." / "de-DE"), "de-DE");
}

TEST(Folders, TheCommandNamesTheFolder) {
  const Layout at;
  const fs::path german = at.project / "de-DE";
  const fs::path russian = at.project / "lang" / "ru";

  // What the command names wins; a recorded folder that differs is named in a warning.
  ImportFolder place = ChooseImportFolder(at.project, russian, "de-DE", german);
  EXPECT_EQ(place.Folder, at.Real(russian));
  EXPECT_EQ(place.Warning, "the file was exported from the language folder de-DE; importing into " +
                               at.Real(russian).string());
  // Without a named folder, a relative recorded one inside the project; the same: no warning.
  place = ChooseImportFolder(at.project, std::nullopt, "lang/ru", german);
  EXPECT_EQ(place.Folder, at.Real(russian));
  EXPECT_EQ(place.Warning, "");
  // An older export recorded an absolute folder (another disk, or another project here): the
  // folder of the file's language in the project named.
  for (const fs::path& old : {fs::path("/home/someone/demo/de-DE"), at.outside / "de-DE"}) {
    place = ChooseImportFolder(at.project, std::nullopt, old.string(), german);
    EXPECT_EQ(place.Folder, at.Real(german));
    EXPECT_EQ(place.Warning, "the file was exported from the language folder " + old.string() +
                                 "; importing into " + at.Real(german).string());
  }
  place = ChooseImportFolder(at.project, std::nullopt, (at.project / "de-DE").string(), german);
  EXPECT_EQ(place.Warning, "") << "an absolute folder that is the one chosen";
  // A recorded folder that climbs out is never followed.
  place = ChooseImportFolder(at.project, std::nullopt, "../other/de-DE", german);
  EXPECT_EQ(place.Folder, at.Real(german));
  EXPECT_NE(place.Warning, "");
}

TEST(Folders, NothingLeadsOutOfTheProject) {
  const Layout at;
  const fs::path german = at.project / "de-DE";
  // Named folders outside the project, directly, through ".." or through a symbolic link.
  fs::create_directory_symlink(at.outside / "de-DE", at.project / "linked");
  for (const fs::path& named :
       {at.outside / "de-DE", at.project / ".." / "other" / "de-DE", at.project / "linked"})
    EXPECT_NE(ErrorOf([&] {
                ChooseImportFolder(at.project, named, "", std::nullopt);
              }).find(" lies outside the project " + at.Real(at.project).string()),
              std::string::npos)
        << named;
  EXPECT_EQ(ErrorOf([&] { ChooseImportFolder(at.project, std::nullopt, "/abs", std::nullopt); }),
            "the file names no language folder and no language; give --lang or --langdir");
  EXPECT_EQ(ErrorOf([&] { ChooseImportFolder(at.project, at.project / "fr-FR", "", std::nullopt); }),
            "no language folder " + (at.Real(at.project) / "fr-FR").string());

  // Form paths: inside the folder only, after ".." and links are resolved.
  const ImportFolder place = ChooseImportFolder(at.project, german, "", std::nullopt);
  EXPECT_EQ(FormInFolder(place, "sub/A.rux"), at.Real(german) / "sub" / "A.rux");
  EXPECT_EQ(FormInFolder(place, "sub/../B.GOX"), at.Real(german) / "B.GOX");
  fs::create_directory_symlink(at.outside / "de-DE", german / "out");
  fs::create_symlink(at.outside / "de-DE" / "C.ruz", german / "C.ruz");
  const std::string outside = " lies outside the language folder " + at.Real(german).string();
  for (const std::string& original : std::vector<std::string>{"../../other/de-DE/A.rux", "/etc/A.rux",
                                                              (at.outside / "de-DE" / "A.rux").string(),
                                                              "out/A.rux", "C.rux", "sub/../../x.rux"})
    EXPECT_EQ(ErrorOf([&] { FormInFolder(place, original); }), "the form file " + original + outside)
        << original;
  EXPECT_EQ(ErrorOf([&] { FormInFolder(place, "A.pas"); }), "the file A.pas is no form file (.rux, .gox)");
}

}  // namespace
}  // namespace rux::exchange
