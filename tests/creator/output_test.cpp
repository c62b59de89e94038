// The translated-form writer around the text generation: conversion, the three storage formats,
// error files, kept file dates, the reload queue and runs that must not write.
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "creator/creator.h"
#include "creator/form_text.h"
#include "host/core/conversions.h"
#include "host/core/errors.h"
#include "host/core/files.h"
#include "host/core/flags.h"
#include "host/core/streams.h"
#include "host/framework/formstream.h"
#include "notes/module_state.h"
#include "notes/notes_record.h"

namespace rux {
namespace {

namespace fs = std::filesystem;

constexpr vaq::TLCID kGerman = 0x0407;

std::string Record(const std::string& id, const std::string& type, const std::string& orig,
                   const std::string& curr, int order, std::uint8_t status = StatusTranslated) {
  vaq::TVaqNotesString record;
  record.Id = id;
  record.Type = type;
  record.Orig = orig;
  record.Curr = curr;
  record.Order = order;
  record.Status = status;
  record.Localize = true;
  return NotesStringToString(record, false);
}

// A form with one button, translated.
std::vector<std::string> GoodNotes() {
  return {Record("O:Form1.Caption", "TForm1", "'Orders'", "'Bestellungen'", 0),
          Record("O:Form1.Width", "TForm1", "300", "300", 1),
          Record("O:Form1.O:Button1.Caption", "TButton", "'Close'",
                 "'Schlie\xDF"
                 "en'",
                 2)};
}

// The current caption lacks its closing quote: the converter rejects the text.
std::vector<std::string> BadNotes() {
  return {Record("O:Form1.Caption", "TForm1", "'Orders'", "'Bestellungen", 0)};
}

std::string Formatted(const std::string& text) {
  vaq::TMemoryStream input(text), resource, output;
  vaq::ObjectTextToResource(input, resource);
  resource.Seek(0);
  vaq::ObjectResourceToText(resource, output);
  return output.Data();
}

class CreatorOutput : public ::testing::Test {
 public:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("vaq-output-" + std::to_string(::getpid()) + "-" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
    form_ = (dir_ / "Form1.rux").string();
    errorFile_ = (dir_ / "Form1.ERR_RUX").string();
    auto sink = std::make_unique<vaq::CollectingSink>();
    shown_ = &sink->Messages;
    sink_ = std::make_unique<vaq::ScopedMessageSink>(std::move(sink));
  }
  void TearDown() override {
    bKeepRuzTimeStamp = false;
    vaq::InIDE = false;
    while (vaq::ReloadQue.Pop()) {
    }
    sink_.reset();
    fs::remove_all(dir_);
  }

 protected:
  bool Write(const std::vector<std::string>& lines, TVaqFormFormat format, bool showErrors = true) {
    creator_.ShowErrors = showErrors;
    return creator_.Execute(lines, form_, false, format, kGerman);
  }

  fs::path dir_;
  std::string form_;
  std::string errorFile_;
  TRuxCreator creator_;
  const std::vector<std::string>* shown_ = nullptr;  // borrowed from the installed sink

 private:
  std::unique_ptr<vaq::ScopedMessageSink> sink_;
};

TEST_F(CreatorOutput, ConversionFailureSavesTheTextAndReportsBothNames) {
  const std::string generated = *GenerateFormText(BadNotes(), false);
  EXPECT_FALSE(Write(BadNotes(), uffUnformatedText));
  EXPECT_EQ(vaq::ReadFileBytes(errorFile_), generated);
  EXPECT_EQ(creator_.ErrorText.rfind("ObjectTextToResource failed: Line ", 0), 0u) << creator_.ErrorText;
  EXPECT_NE(creator_.ErrorText.find("\r\n - File saved: " + errorFile_), std::string::npos);
  ASSERT_EQ(shown_->size(), 1u);
  EXPECT_EQ(shown_->front(), creator_.ErrorText);
  // The unformatted text is stored all the same.
  EXPECT_EQ(vaq::ReadFileBytes(form_), generated);

  // The next run starts without the old message.
  EXPECT_TRUE(Write(GoodNotes(), uffUnformatedText));
  EXPECT_TRUE(creator_.ErrorText.empty());
}

TEST_F(CreatorOutput, ConversionFailureWithoutShowErrorsIsSilent) {
  EXPECT_FALSE(Write(BadNotes(), uffUnformatedText, false));
  EXPECT_TRUE(shown_->empty());
  EXPECT_FALSE(creator_.ErrorText.empty());
  EXPECT_TRUE(vaq::FileExists(errorFile_));
}

TEST_F(CreatorOutput, FailedConversionKeepsBinaryAndFormattedFormsAsTheyWere) {
  const std::string previous("TPF0\x00\x01previous", 14);
  vaq::WriteFileAtomic(form_, previous);
  EXPECT_FALSE(Write(BadNotes(), uffBinary));
  EXPECT_EQ(vaq::ReadFileBytes(form_), previous);
  EXPECT_FALSE(Write(BadNotes(), uffFormatedText));
  EXPECT_EQ(vaq::ReadFileBytes(form_), previous);

  vaq::DeleteFile(form_);
  EXPECT_FALSE(Write(BadNotes(), uffFormatedText));
  EXPECT_FALSE(vaq::FileExists(form_));
  // No temporary file is left beside the form either.
  for (const auto& entry : fs::directory_iterator(dir_)) EXPECT_EQ(entry.path().filename(), "Form1.ERR_RUX");
}

TEST_F(CreatorOutput, EachFormatStoresItsRendering) {
  const std::string generated = *GenerateFormText(GoodNotes(), false);

  EXPECT_TRUE(Write(GoodNotes(), uffUnformatedText));
  EXPECT_EQ(vaq::ReadFileBytes(form_), generated);

  EXPECT_TRUE(Write(GoodNotes(), uffFormatedText));
  EXPECT_EQ(vaq::ReadFileBytes(form_), Formatted(generated));

  EXPECT_TRUE(Write(GoodNotes(), uffBinary));
  const std::string binary = vaq::ReadFileBytes(form_);
  EXPECT_EQ(binary.substr(0, 4), "TPF0");
  EXPECT_EQ(Formatted(binary), Formatted(generated));
  EXPECT_FALSE(vaq::FileExists(errorFile_));
}

TEST_F(CreatorOutput, OriginalValuesOnRequest) {
  creator_.Execute(GoodNotes(), form_, true, uffFormatedText, kGerman);
  const std::string text = vaq::ReadFileBytes(form_);
  EXPECT_NE(text.find("'Orders'"), std::string::npos);
  EXPECT_EQ(text.find("Bestellungen"), std::string::npos);
}

TEST_F(CreatorOutput, KeepsTheOldDateOnlyWhenAskedAndTheFileExisted) {
  const vaq::TDateTime old = 45000.5;  // 2023
  vaq::WriteFileAtomic(form_, "old");
  vaq::SetDateOfFile(form_, old);

  bKeepRuzTimeStamp = true;
  EXPECT_TRUE(Write(GoodNotes(), uffFormatedText));
  EXPECT_EQ(vaq::DateOfFile(form_), old);
  EXPECT_NE(vaq::ReadFileBytes(form_), "old");

  bKeepRuzTimeStamp = false;
  EXPECT_TRUE(Write(GoodNotes(), uffFormatedText));
  EXPECT_GT(vaq::DateOfFile(form_), old + 1000);

  // A new file has nothing to keep.
  bKeepRuzTimeStamp = true;
  vaq::DeleteFile(form_);
  EXPECT_TRUE(Write(GoodNotes(), uffBinary));
  EXPECT_GT(vaq::DateOfFile(form_), old + 1000);
}

TEST_F(CreatorOutput, QueuesForReloadOnlyInsideTheIde) {
  const std::size_t before = vaq::ReloadQue.Count();
  EXPECT_TRUE(Write(GoodNotes(), uffBinary));
  EXPECT_EQ(vaq::ReloadQue.Count(), before);

  while (vaq::ReloadQue.Pop()) {
  }
  vaq::InIDE = true;
  EXPECT_TRUE(Write(GoodNotes(), uffBinary));
  EXPECT_EQ(vaq::ReloadQue.Pop(), form_);
  EXPECT_TRUE(vaq::ReloadQue.Empty());
}

TEST_F(CreatorOutput, RunsWithNothingToWriteLeaveNoFile) {
  // Only obsolete records and records not written back.
  const std::vector<std::string> gone = {
      Record("O:Form1.Caption", "TForm1", "'A'", "'B'", -1, StatusObsolete),
      Record("O:Form1.Width", "TForm1", "1", "1", -1, StatusTranslated)};
  EXPECT_FALSE(Write(gone, uffUnformatedText));
  EXPECT_FALSE(vaq::FileExists(form_));

  // A notes file that cannot be read.
  EXPECT_FALSE(creator_.Execute((dir_ / "missing.ruz").string(), form_, false, uffBinary, kGerman));
  EXPECT_FALSE(vaq::FileExists(form_));

  // A folder that does not exist: false, no crash.
  EXPECT_FALSE(creator_.Execute(GoodNotes(), (dir_ / "no" / "F.rux").string(), false, uffBinary, kGerman));
  EXPECT_TRUE(shown_->empty());
}

TEST_F(CreatorOutput, NotesFileAndInstalledWriterGiveTheSameForm) {
  const std::string notes = (dir_ / "Form1.ruz").string();
  vaq::SaveLines(notes, GoodNotes());
  EXPECT_TRUE(creator_.Execute(notes, form_, false, uffBinary, kGerman));
  const std::string direct = vaq::ReadFileBytes(form_);

  vaq::DeleteFile(form_);
  InstallFormWriter();
  vaq::TAtomicWriteBatch batch;
  EXPECT_TRUE(WriteTranslatedForm(GoodNotes(), form_, false, uffBinary, kGerman, batch));
  SetFormWriter(nullptr);
  ASSERT_FALSE(vaq::FileExists(form_)) << "the form waits in the batch";
  batch.Commit();
  EXPECT_EQ(vaq::ReadFileBytes(form_), direct);
}

}  // namespace
}  // namespace rux
