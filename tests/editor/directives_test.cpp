#include "editor/directives.h"

#include <gtest/gtest.h>

#include "host/core/flags.h"
#include "notes/form_info.h"

namespace rux {
namespace {

// Runs each test for one project language and restores the core's flag afterwards.
class Directives : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    saved_ = vaq::GlobalInPelgo;
    vaq::GlobalInPelgo = GetParam();
  }
  void TearDown() override { vaq::GlobalInPelgo = saved_; }
  bool Pascal() const { return GetParam(); }

 private:
  bool saved_ = true;
};

TFormInfo Info(std::string formName, std::string ancestor, std::string rootClass) {
  TFormInfo info;
  info.FormName = std::move(formName);
  info.Ancestor = std::move(ancestor);
  info.RootClass = std::move(rootClass);
  return info;
}

TEST_P(Directives, FormWithAncestor) {
  const TFormInfo info = Info("Form2", "TForm1", "TForm");
  EXPECT_EQ(FormatDirective("Unit2.rux", &info),
            Pascal() ? "{$R 'Unit2.rux' Form2:TForm(Form1)}\r\n"
                     : "USEFORMRES(\"Unit2.rux\", Form2, Form); /* Form1: DesignClass */\r\n"
                       "#pragma resource \"Unit2.rux\"\r\n");
}

TEST_P(Directives, FormWithoutAncestor) {
  const TFormInfo info = Info("DataModule1", "", "TDataModule");
  EXPECT_EQ(FormatDirective("Unit3.rux", &info),
            Pascal()
                ? "{$R 'Unit3.rux' DataModule1:TDataModule}\r\n"
                : "USEFORMRES(\"Unit3.rux\", DataModule1, DataModule); /* TDataModule: DesignClass */\r\n"
                  "#pragma resource \"Unit3.rux\"\r\n");
}

TEST_P(Directives, NoFormInformation) {
  const std::string expected = Pascal() ? "{$R 'Unit4.rux'}\r\n"
                                        : "USEFORMRES(\"Unit4.rux\", TForm);\r\n"
                                          "#pragma resource \"Unit4.rux\"\r\n";
  EXPECT_EQ(FormatDirective("Unit4.rux", nullptr), expected);
  // Another kind of object carries no form information either.
  const vaq::TObject other;
  EXPECT_EQ(FormatDirective("Unit4.rux", &other), expected);
}

INSTANTIATE_TEST_SUITE_P(Languages, Directives, ::testing::Values(true, false),
                         [](const auto& param) { return param.param ? "Pascal" : "Cpp"; });

}  // namespace
}  // namespace rux
