// The three file formats: a document written and read back keeps every unit's text, state,
// comment and previous original; what other tools write (groups, split segments, states of their
// own) reads as the translator meant it; a broken file is refused with its line.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "exchange/formats.h"
#include "host/core/files.h"
#include "support/temp_dir.h"

namespace rux::exchange {
namespace {

Document Sample() {
  Document document{"en-US", "de-DE", "lang/de-DE", {}, "demo"};
  FileUnits form{"sub/MainForm.rux", {}};
  Unit plain;
  plain.Id = "O:MainForm.Caption";
  plain.Type = "TMainForm";
  plain.Property = "Caption";
  plain.Source = "Orders";
  Unit translated{.Id = "O:MainForm.O:b.Hint",
                  .Type = "TButton",
                  .Property = "Hint",
                  .Source = "Save \"all\"\nand <close> & go",
                  .Target = "Alles \"speichern\"\nund schließen",
                  .HasTarget = true,
                  .State = UnitState::Translated,
                  .PrevSource = "Save",
                  .Comment = "keep it short",
                  .Baseline = "00c0ffee00c0ffee"};
  Unit review{.Id = "O:MainForm.O:l.Items.Strings[0]",
              .Type = "TListBox",
              .Property = "Items.Strings[0]",
              .Source = "It's\ttabbed\a",
              .Target = "Es ist\ttabbed\a",
              .HasTarget = true,
              .State = UnitState::NeedsReview,
              .PrevSource = {},
              .Comment = {},
              .Baseline = {}};
  Unit number = plain;
  number.Id = "O:MainForm.Width";
  number.Property = "Width";
  number.IsString = false;
  number.Source = "640";
  form.Units = {plain, translated, review, number};
  document.Files.push_back(form);
  document.Files.push_back(FileUnits{"ReportView.gox", {plain}});
  return document;
}

void ExpectSameUnits(const Document& read, const Document& written, const std::string& format) {
  EXPECT_EQ(read.SourceLang, written.SourceLang) << format;
  EXPECT_EQ(read.TargetLang, written.TargetLang) << format;
  EXPECT_EQ(read.Folder, written.Folder) << format;
  ASSERT_EQ(read.Files.size(), written.Files.size()) << format;
  for (std::size_t f = 0; f < read.Files.size(); ++f) {
    EXPECT_EQ(read.Files[f].Original, written.Files[f].Original) << format;
    ASSERT_EQ(read.Files[f].Units.size(), written.Files[f].Units.size()) << format;
    for (std::size_t u = 0; u < read.Files[f].Units.size(); ++u) {
      const Unit& a = read.Files[f].Units[u];
      const Unit& b = written.Files[f].Units[u];
      EXPECT_EQ(a.Id, b.Id) << format;
      EXPECT_EQ(a.Source, b.Source) << format << " " << b.Id;
      EXPECT_EQ(a.HasTarget, b.HasTarget) << format << " " << b.Id;
      EXPECT_EQ(a.Target, b.Target) << format << " " << b.Id;
      EXPECT_EQ(a.State, b.State) << format << " " << b.Id;
      EXPECT_EQ(a.Comment, b.Comment) << format << " " << b.Id;
      EXPECT_EQ(a.PrevSource, b.PrevSource) << format << " " << b.Id;
      EXPECT_EQ(a.Baseline, b.Baseline) << format << " " << b.Id;
    }
  }
}

TEST(Formats, WrittenDocumentsReadBackUnchanged) {
  const Document document = Sample();
  const std::string xliff2 = WriteXliff2(document);
  EXPECT_EQ(DetectFormat(xliff2), Format::Xliff2);
  EXPECT_NE(xliff2.find("<cp hex=\"0007\"/>"), std::string::npos) << "XML cannot carry the control character";
  ExpectSameUnits(ReadXliff2(xliff2, "a.xlf"), document, "XLIFF 2.0");

  const std::string xliff12 = WriteXliff12(document);
  EXPECT_EQ(DetectFormat(xliff12), Format::Xliff12);
  ExpectSameUnits(ReadXliff12(xliff12, "a.xlf"), document, "XLIFF 1.2");

  const vaq::testing::TempDir dir;
  const std::string po = WritePo(document);
  EXPECT_EQ(DetectFormat(po), Format::Po);
  EXPECT_NE(po.find("#, fuzzy\n"), std::string::npos);
  EXPECT_NE(po.find("#| msgid \"Save\"\n"), std::string::npos) << "the previous original, as tools show it";
  EXPECT_NE(po.find("msgctxt \"sub/MainForm.rux|O:MainForm.Caption\"\n"), std::string::npos);
  EXPECT_NE(po.find("\"Project-Id-Version: demo\\n\"\n"), std::string::npos);
  vaq::WriteFileAtomic(dir / "a.po", po);
  ExpectSameUnits(ReadPo(dir / "a.po"), document, "PO");
}

TEST(Formats, WhatOtherToolsWriteReadsAsMeant) {
  // A tool grouped the units, split a text into two segments and marked one reviewed.
  const Document xliff2 = ReadXliff2(R"(<?xml version="1.0"?>
<xliff xmlns="urn:oasis:names:tc:xliff:document:2.0" version="2.1" srcLang="en" trgLang="de"
       xmlns:vaq="urn:vaq:exchange:1" vaq:folder="/p/de-DE">
 <file id="f" original="A.rux"><group id="g">
  <unit id="u1" name="O:A.Caption"><segment state="reviewed"><source>One. </source><target>Eins. </target></segment>
   <segment state="final"><source>Two.</source><target>Zwei.</target></segment></unit>
  <unit id="u2" name="O:A.Hint"><segment><source>Hint</source><target><pc id="1">Hin</pc>weis</target></segment></unit>
 </group></file></xliff>)",
                                     "t.xlf");
  ASSERT_EQ(xliff2.Files.at(0).Units.size(), 2u);
  EXPECT_EQ(xliff2.Files[0].Units[0].Source, "One. Two.");
  EXPECT_EQ(xliff2.Files[0].Units[0].Target, "Eins. Zwei.");
  EXPECT_EQ(xliff2.Files[0].Units[0].State, UnitState::Translated);
  EXPECT_EQ(xliff2.Files[0].Units[1].Target, "Hinweis");
  EXPECT_EQ(xliff2.Files[0].Units[1].State, UnitState::NeedsReview) << "a target without a state is initial";
  EXPECT_EQ(xliff2.Files[0].Units[1].Line, 7);

  const Document xliff12 = ReadXliff12(R"(<xliff xmlns="urn:oasis:names:tc:xliff:document:1.2" version="1.2">
 <file original="A.rux" source-language="en" target-language="ru" datatype="plaintext"><body>
  <trans-unit id="1" resname="O:A.Caption"><source>A</source><target state="new">Б</target></trans-unit>
  <trans-unit id="2" resname="O:A.Hint" approved="yes"><source>B</source><target state="needs-review-translation">В</target></trans-unit>
  <trans-unit id="3" resname="O:A.Text"><source>C</source><target>Г</target><note from="translator">ok</note></trans-unit>
 </body></file></xliff>)",
                                       "t.xlf");
  ASSERT_EQ(xliff12.Files.at(0).Units.size(), 3u);
  EXPECT_EQ(xliff12.TargetLang, "ru");
  EXPECT_EQ(xliff12.Files[0].Units[0].State, UnitState::NeedsReview);
  EXPECT_EQ(xliff12.Files[0].Units[1].State, UnitState::Translated) << "approved";
  EXPECT_EQ(xliff12.Files[0].Units[2].State, UnitState::Translated);
  EXPECT_EQ(xliff12.Files[0].Units[2].Comment, "ok");
}

TEST(Formats, BrokenFilesAreRefusedWithTheirLine) {
  const auto message = [](const std::function<void()>& read) {
    try {
      read();
    } catch (const EExchangeParseError& error) {
      return std::string(error.what());
    }
    return std::string("no error");
  };
  EXPECT_TRUE(message([] {
                ReadXliff2(
                    "<?xml version=\"1.0\"?>\n<xliff xmlns=\"urn:oasis:names:tc:xliff:document:2.0\">\n<file "
                    "original=\"A.rux\">\n</xliff>",
                    "b.xlf");
              }).starts_with("b.xlf: line 4: "));
  EXPECT_EQ(message([] { ReadXliff2("", "empty.xlf"); }), "empty.xlf: line 1: the file is empty");
  EXPECT_EQ(message([] { ReadXliff12("", "empty.xlf"); }), "empty.xlf: line 1: the file is empty");
  EXPECT_EQ(message([] { ReadXliff12("<xliff xmlns=\"urn:oasis:names:tc:xliff:document:2.0\"/>", "c.xlf"); }),
            "c.xlf: line 1: not an XLIFF 1.2 document");
  EXPECT_EQ(message([] {
              ReadXliff2(
                  "<xliff xmlns=\"urn:oasis:names:tc:xliff:document:2.0\" version=\"2.0\" srcLang=\"en\">\n"
                  "<file id=\"f\" original=\"A.rux\">\n<unit id=\"u\"><segment><source>x</source></segment>"
                  "</unit></file></xliff>",
                  "d.xlf");
            }),
            "d.xlf: line 3: unit without a name (the Id)");

  // A document type is refused where it stands, whether or not it declares entities, and even when
  // the rest of the file is broken; an entity nobody declared is not well-formed.
  const std::string units =
      "<file id=\"f\" original=\"A.rux\"><unit id=\"u\" name=\"O:A.Caption\"><segment><source>x</source>"
      "<target>&e;</target></segment></unit></file></xliff>";
  const std::string root2 =
      "<xliff xmlns=\"urn:oasis:names:tc:xliff:document:2.0\" version=\"2.0\" srcLang=\"en\">\n";
  const std::string refused =
      ": a document type declaration (<!DOCTYPE>) is not accepted: exchange files take no DTD and no "
      "entities";
  EXPECT_EQ(
      message([&] {
        ReadXliff2(
            "<?xml version=\"1.0\"?>\n\n<!DOCTYPE xliff [\n<!ENTITY e SYSTEM \"file:///etc/passwd\">\n]>\n" +
                root2 + units,
            "g.xlf");
      }),
      "g.xlf: line 3" + refused);
  EXPECT_EQ(message([&] {
              ReadXliff12(
                  "<!DOCTYPE xliff SYSTEM \"http://example.invalid/x.dtd\">\n<xliff xmlns=\"urn:oasis:names:"
                  "tc:xliff:document:1.2\" version=\"1.2\" vaq:folder=\"&k;\"><oops></xliff>",
                  "h.xlf");
            }),
            "h.xlf: line 1" + refused);
  EXPECT_EQ(message([&] { ReadXliff2(root2 + units, "i.xlf"); }), "i.xlf: line 2: Entity 'e' not defined");

  const vaq::testing::TempDir dir;
  vaq::WriteFileAtomic(dir / "e.po",
                       "msgid \"\"\nmsgstr \"\"\n\nmsgctxt \"A.rux|O:A.Caption\"\nmsgid \"x\nmsgstr \"\"\n");
  EXPECT_NE(message([&] { ReadPo(dir / "e.po"); }).find("e.po: line 5: "), std::string::npos)
      << message([&] { ReadPo(dir / "e.po"); });
  // PO files are read in UTF-8: another charset, or bytes that are no UTF-8, are refused.
  const std::string header = "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=";
  vaq::WriteFileAtomic(dir / "g.po",
                       header + "ISO-8859-1\\n\"\n\nmsgctxt \"A.rux|O:A.C\"\nmsgid \"x\"\nmsgstr \"\xFC\"\n");
  EXPECT_EQ(message([&] { ReadPo(dir / "g.po"); }),
            dir / "g.po" +
                ": the catalogue is in ISO-8859-1; vaq reads PO files in UTF-8 (msgconv --to-code=UTF-8 "
                "converts it)");
  vaq::WriteFileAtomic(dir / "h.po",
                       header + "UTF-8\\n\"\n\nmsgctxt \"A.rux|O:A.C\"\nmsgid \"x\"\nmsgstr \"\xFC\"\n");
  EXPECT_EQ(message([&] { ReadPo(dir / "h.po"); }),
            dir / "h.po" + ": the entry \"A.rux|O:A.C\" holds text that is not UTF-8");
  vaq::WriteFileAtomic(dir / "f.po", "msgid \"Orders\"\nmsgstr \"Bestellungen\"\n");
  EXPECT_EQ(message([&] { ReadPo(dir / "f.po"); }),
            dir / "f.po" + ": the entry \"Orders\" has no msgctxt (form file and Id)");
}

}  // namespace
}  // namespace rux::exchange
