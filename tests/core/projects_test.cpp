#include "host/core/projects.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "host/core/errors.h"
#include "host/core/files.h"
#include "host/core/flags.h"
#include "host/core/locale.h"
#include "host/core/registration.h"

namespace vaq {
namespace {

TEST(XlatFileName, FilesBelowTheProjectKeepTheirRelativePath) {
  EXPECT_EQ(GetXlatFileName("/p/app/Unit1.rux", "/p/app/DEU", "/p/app"), "/p/app/DEU/Unit1.rux");
  EXPECT_EQ(GetXlatFileName("/p/app/forms/sub/Unit2.rux", "/p/app/DEU/", "/p/app/"),
            "/p/app/DEU/forms/sub/Unit2.rux");
  // Folder names compare without regard to case; "." and ".." are resolved first.
  EXPECT_EQ(GetXlatFileName("/P/App/./x/../forms/U.rux", "/l", "/p/app"), "/l/forms/U.rux");
  // A relative name is relative to the project folder.
  EXPECT_EQ(GetXlatFileName("forms/U.rux", "/l", "/p/app"), "/l/forms/U.rux");
  // Windows names: the language folder's separator joins the relative path.
  EXPECT_EQ(GetXlatFileName("C:\\app\\forms\\U.rux", "C:\\app\\DEU", "c:\\APP"),
            "C:\\app\\DEU\\forms\\U.rux");
}

TEST(XlatFileName, OtherFilesKeepTheirFileNameOnly) {
  EXPECT_EQ(GetXlatFileName("/lib/forms/Base.rux", "/p/app/DEU", "/p/app"), "/p/app/DEU/Base.rux");
  EXPECT_EQ(GetXlatFileName("/p/application/U.rux", "/l", "/p/app"), "/l/U.rux");  // a name prefix only
  EXPECT_EQ(GetXlatFileName("../shared/U.rux", "/l", "/p/app"), "/l/U.rux");
  EXPECT_EQ(GetXlatFileName("/p/app", "/l", "/p/app"), "/l/app");  // the folder itself
  EXPECT_EQ(GetXlatFileName("/p/app/U.rux", "/l", ""), "/l/U.rux");
}

// Form information of the test's own, so that the handler can show which object it was given.
struct TTestInfo : TObject {
  explicit TTestInfo(std::string tag) : Tag(std::move(tag)) {}
  std::string Tag;
};

class ProjectGenerators : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/vaq-projects-XXXXXX";
    root_ = mkdtemp(pattern);
    UnregisterVaqFileTypes();
    auto withHandler = std::make_unique<TVaqFileType>();
    withHandler->Extensions = ".tfm;.tfx";
    withHandler->FormatDirective = [](const std::string& file, const TObject* info) {
      const auto* test = dynamic_cast<const TTestInfo*>(info);
      return "BIND " + file + " " + (test ? test->Tag : "-") + (InPelgo() ? " pas\r\n" : " cpp\r\n");
    };
    RegisterVaqFileType(std::move(withHandler));
    auto withoutHandler = std::make_unique<TVaqFileType>();
    withoutHandler->Extensions = ".nod";
    RegisterVaqFileType(std::move(withoutHandler));

    project_.FileName = root_ + "/app/Project1.pas";
    project_.Dir = root_ + "/app/";
    lang_.Locale = StrToLCID("DEU");
    lang_.Dir = root_ + "/app/DEU/";
    // Deliberately unsorted: the module keeps the list's order.
    Add(lang_.Dir + "zeta/Unit2.tfm", "two");
    Add(lang_.Dir + "Unit1.TFX", "");
    Add(lang_.Dir + "Plain.rux", "");
    Add(lang_.Dir + "Data.nod", "");
    Add(root_ + "/lib/Base.tfm", "base");
  }
  void TearDown() override {
    UnregisterVaqFileTypes();
    std::filesystem::remove_all(root_);
  }
  void Add(const std::string& file, const std::string& tag) {
    forms_.push_back({file, tag.empty() ? nullptr : std::make_unique<TTestInfo>(tag)});
  }

  std::string root_;
  TProj project_;
  TLang lang_;
  TStringObjectList forms_;
};

TEST_F(ProjectGenerators, PascalLibraryBindsFormsInListOrder) {
  GlobalInPelgo = false;  // the generator sets the language itself and restores the flag
  const std::string name = CreatePascalDLL(project_, lang_, forms_, false, false);
  EXPECT_FALSE(GlobalInPelgo);
  GlobalInPelgo = true;
  EXPECT_EQ(name, lang_.Dir + "Project1.DEU.pas");
  EXPECT_EQ(ReadFileBytes(name),
            "library Project1;\r\n\r\n"
            "BIND zeta/Unit2.tfm two pas\r\n"
            "BIND Unit1.TFX - pas\r\n"
            "{$R 'Plain.rux'}\r\n"
            "{$R 'Data.nod'}\r\n"
            "BIND " +
                root_ + "/lib/Base.tfm base pas\r\n" + "\r\nbegin\r\nend.\r\n");
}

TEST_F(ProjectGenerators, CppModuleBindsFormsInListOrder) {
  const std::string name = CreateCPPDLL(project_, lang_, forms_, false);
  EXPECT_TRUE(GlobalInPelgo);
  EXPECT_EQ(name, lang_.Dir + "Project1.DEU.cpp");
  const std::string text = ReadFileBytes(name);
  const std::string directives =
      "\r\n\r\nBIND zeta/Unit2.tfm two cpp\r\n"
      "BIND Unit1.TFX - cpp\r\n"
      "#pragma resource \"Plain.rux\"\r\n"
      "#pragma resource \"Data.nod\"\r\n"
      "BIND " +
      root_ + "/lib/Base.tfm base cpp\r\n\r\n";
  EXPECT_EQ(text.rfind("// Resource module of Project1 for " + LCIDToLangName(lang_.Locale), 0), 0u) << text;
  EXPECT_NE(text.find(directives), std::string::npos) << text;
  EXPECT_NE(text.find("extern \"C\""), std::string::npos);
  // Every line ends with CR LF.
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n') {
      EXPECT_EQ(text[i - 1], '\r') << i;
    }
  }
  EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
}

TEST_F(ProjectGenerators, EmptyListAndUnknownLocale) {
  lang_.Locale = 0x7ffe;  // no abbreviation: the locale id names the module
  lang_.Dir = root_ + "/new/folder";
  const std::string name = CreatePascalDLL(project_, lang_, {}, false, false);
  EXPECT_EQ(name, lang_.Dir + "/Project1.32766.pas");
  EXPECT_EQ(ReadFileBytes(name), "library Project1;\r\n\r\n\r\nbegin\r\nend.\r\n");
}

// The library's name in its source is an identifier whatever the folder is called; the file keeps
// the folder's name.
TEST_F(ProjectGenerators, LibraryIdentifierFromAnyFolderName) {
  forms_.clear();
  const struct {
    std::string folder, pascal, cpp;
  } cases[] = {
      {"Мой проект", "Moj_proekt", "Moj_proekt"},                    // Cyrillic (1251)
      {"Größe & Co", "Grosse_Co", "Grosse_Co"},                      // Western (1252)
      {"翻訳プロジェクト", "fan_yipurojekuto", "fan_yipurojekuto"},  // Japanese (932)
      {"My Project (new)", "My_Project_new", "My_Project_new"},
      {"2024 release", "_2024_release", "_2024_release"},
      {"__init__", "init", "init"},
      {"!!! ???", "Project", "Project"},  // nothing left
      {"end", "end_", "end"},
      {"Program", "Program_", "Program"},  // Pascal ignores case
      {"class", "class_", "class_"},
      {"Class", "Class_", "Class"},
      {"new", "new", "new_"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.folder);
    EXPECT_EQ(ModuleIdentifier(c.folder, true), c.pascal);
    EXPECT_EQ(ModuleIdentifier(c.folder, false), c.cpp);
    EXPECT_EQ(IdentifierProblem(c.pascal, true), "");
    EXPECT_EQ(IdentifierProblem(c.cpp, false), "");
    project_.FileName = root_ + "/" + c.folder + "/" + c.folder;
    const std::string pas = CreatePascalDLL(project_, lang_, forms_, false, false);
    EXPECT_EQ(pas, lang_.Dir + c.folder + ".DEU.pas");
    EXPECT_EQ(ReadFileBytes(pas).substr(0, c.pascal.size() + 11), "library " + c.pascal + ";\r\n");
    const std::string cpp = CreateCPPDLL(project_, lang_, forms_, false);
    EXPECT_EQ(cpp, lang_.Dir + c.folder + ".DEU.cpp");
    EXPECT_EQ(ReadFileBytes(cpp).rfind("// Resource module of " + c.cpp + " for ", 0), 0u);
  }
}

// A name given for the module replaces the derived one; one that is no identifier of the
// language is refused before anything is written.
TEST_F(ProjectGenerators, GivenIdentifierIsUsedOrRefused) {
  forms_.clear();
  project_.Identifier = "Resources_DE";
  EXPECT_EQ(ReadFileBytes(CreatePascalDLL(project_, lang_, forms_, false, false)).substr(0, 23),
            "library Resources_DE;\r\n");
  const struct {
    std::string identifier;
    bool pascal;
    std::string problem;
  } refused[] = {
      {"", true, "is empty"},
      {"1st", true, "starts with a digit"},
      {"my lib", false, "may hold only the letters A to Z and a to z, digits and _"},
      {"Проект", true, "may hold only the letters A to Z and a to z, digits and _"},
      {"a-b", false, "may hold only the letters A to Z and a to z, digits and _"},
      {"BEGIN", true, "is a reserved word of Pascal"},
      {"namespace", false, "is a keyword of C++"},
  };
  for (const auto& c : refused) {
    SCOPED_TRACE(c.identifier);
    EXPECT_EQ(IdentifierProblem(c.identifier, c.pascal), c.problem);
    if (c.identifier.empty()) continue;  // an empty one means: made from the project's name
    project_.Identifier = c.identifier;
    lang_.Dir = root_ + "/refused/";
    try {
      if (c.pascal) {
        CreatePascalDLL(project_, lang_, forms_, false, false);
      } else {
        CreateCPPDLL(project_, lang_, forms_, false);
      }
      ADD_FAILURE() << "accepted";
    } catch (const EVaqError& error) {
      EXPECT_NE(std::string(error.what()).find("'" + c.identifier + "' " + c.problem), std::string::npos)
          << error.what();
    }
    EXPECT_FALSE(std::filesystem::exists(lang_.Dir));
  }
  EXPECT_EQ(IdentifierProblem("Begin", false), "");  // C++ minds the case
  EXPECT_EQ(IdentifierProblem("_x1", true), "");
}

TEST_F(ProjectGenerators, UnwritableFolderRaises) {
  WriteFileAtomic(root_ + "/blocker", "x");
  lang_.Dir = root_ + "/blocker/DEU";
  EXPECT_THROW(CreateCPPDLL(project_, lang_, forms_, false), EFileError);
}

}  // namespace
}  // namespace vaq
