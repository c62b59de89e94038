// XLIFF 2.0 files.
#include <string>

#include "exchange/formats.h"
#include "exchange/unit_reader.h"
#include "exchange/xml_io.h"

namespace rux::exchange {
namespace {

constexpr const char* kNamespace = "urn:oasis:names:tc:xliff:document:2.0";
constexpr const char* kCategoryType = "vaq:type";
constexpr const char* kCategoryPrevious = "vaq:previous-source";
constexpr const char* kCategoryComment = "vaq:comment";
constexpr const char* kSubStateReview = "vaq:review";

// A character XML cannot carry, as the format's code point element.
void WriteText(xml::Writer& out, const std::string& text) {
  out.Text(text, [&](unsigned char c) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "%04X", c);
    out.Start("cp");
    out.Attribute("hex", hex);
    out.End();
  });
}

void WriteNote(xml::Writer& out, const char* category, const std::string& text) {
  out.StartText("note");
  out.Attribute("category", category);
  WriteText(out, text);
  out.EndText();
}

// The text of a source or target: text, <cp> code points, and the text inside other inline markup
// a tool may have added (<pc>, <mrk>); standalone placeholders have none.
void AppendText(const xml::Element& node, std::string& out) {
  for (const xml::Element& child : node.Children) {
    if (child.IsText()) {
      out += child.Text;
    } else if (child.Is("cp")) {
      const unsigned long code = std::strtoul(child.Attr("hex").c_str(), nullptr, 16);
      if (code > 0 && code < 0x110000) {
        // UTF-8 of the code point.
        if (code < 0x80) {
          out.push_back(static_cast<char>(code));
        } else if (code < 0x800) {
          out.push_back(static_cast<char>(0xC0 | (code >> 6)));
          out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else if (code < 0x10000) {
          out.push_back(static_cast<char>(0xE0 | (code >> 12)));
          out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
          out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else {
          out.push_back(static_cast<char>(0xF0 | (code >> 18)));
          out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
          out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
          out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        }
      }
    } else {
      AppendText(child, out);
    }
  }
}

void ReadUnit(const xml::Element& node, Unit& unit, const std::string& fileName) {
  unit.Line = node.Line;
  unit.Id = node.Attr("name");
  if (unit.Id.empty()) xml::Fail(fileName, unit.Line, "unit without a name (the Id)");
  unit.Baseline = node.Attr("base", xml::kVaqNamespace);
  bool anySegment = false;
  bool allTranslated = true;
  bool anyTarget = false;
  for (const xml::Element& child : node.Children) {
    if (child.Is("notes")) {
      for (const xml::Element& note : child.Children) {
        if (!note.Is("note")) continue;
        std::string text;
        AppendText(note, text);
        const std::string& category = note.Attr("category");
        if (category == kCategoryComment) unit.Comment = text;
        if (category == kCategoryPrevious) unit.PrevSource = text;
      }
    } else if (child.Is("segment") || child.Is("ignorable")) {
      // A tool may have split the text into several segments: they are joined again.
      if (child.Is("segment")) {
        anySegment = true;
        const std::string& state = child.Attr("state");
        if (state != "translated" && state != "reviewed" && state != "final") allTranslated = false;
      }
      for (const xml::Element& part : child.Children) {
        if (part.Is("source")) AppendText(part, unit.Source);
        if (part.Is("target")) {
          anyTarget = true;
          AppendText(part, unit.Target);
        }
      }
    }
  }
  if (!anySegment) xml::Fail(fileName, unit.Line, "unit without a segment");
  unit.HasTarget = anyTarget;
  unit.State = !anyTarget      ? UnitState::Initial
               : allTranslated ? UnitState::Translated
                               : UnitState::NeedsReview;
}

// The document from the stream: the root's languages and folder, a FileUnits per <file>, each
// <unit> (in groups a tool may have added, too) taken whole.
class Reader : public UnitReader {
 public:
  explicit Reader(const std::string& fileName) : UnitReader(fileName, ReadUnit, "XLIFF 2.0") {}

  bool Start(const xml::Element& element, int depth) override {
    if (depth == 0) {
      if (!element.Is("xliff") || element.Namespace != kNamespace) NotTheFormat(element.Line);
      root_ = true;
      document_.SourceLang = element.Attr("srcLang");
      document_.TargetLang = element.Attr("trgLang");
      document_.Folder = element.Attr("folder", xml::kVaqNamespace);
      return false;
    }
    if (element.Is("file")) {
      document_.Files.push_back(FileUnits{element.Attr("original"), {}});
      if (document_.Files.back().Original.empty())
        xml::Fail(fileName_, element.Line, "file without an original (the form file)");
      return false;
    }
    return element.Is("unit") && !document_.Files.empty();
  }
};

}  // namespace

std::string WriteXliff2(const Document& document) {
  xml::Writer out;
  out.Start("xliff");
  out.Attribute("xmlns", kNamespace);
  out.Attribute("xmlns:vaq", xml::kVaqNamespace);
  out.Attribute("version", "2.0");
  out.Attribute("srcLang", document.SourceLang);
  out.Attribute("trgLang", document.TargetLang);
  out.Attribute("vaq:folder", document.Folder);
  int fileNumber = 0;
  for (const FileUnits& file : document.Files) {
    out.Start("file");
    out.Attribute("id", "f" + std::to_string(++fileNumber));
    out.Attribute("original", file.Original);
    out.Attribute("canResegment", "no");
    out.Attribute("xml:space", "preserve");
    int unitNumber = 0;
    for (const Unit& unit : file.Units) {
      out.Start("unit");
      out.Attribute("id", "u" + std::to_string(++unitNumber));
      out.Attribute("name", unit.Id);
      if (!unit.Baseline.empty()) out.Attribute("vaq:base", unit.Baseline);
      out.Start("notes");
      WriteNote(out, kCategoryType,
                unit.Type + " " + unit.Property + (unit.IsString ? "" : " (form-text notation)"));
      if (!unit.PrevSource.empty()) WriteNote(out, kCategoryPrevious, unit.PrevSource);
      if (!unit.Comment.empty()) WriteNote(out, kCategoryComment, unit.Comment);
      out.End();
      out.Start("segment");
      switch (unit.State) {
        case UnitState::Initial:
          out.Attribute("state", "initial");
          break;
        case UnitState::NeedsReview:
          out.Attribute("state", "initial");
          out.Attribute("subState", kSubStateReview);
          break;
        case UnitState::Translated:
          out.Attribute("state", "translated");
          break;
      }
      out.StartText("source");
      WriteText(out, unit.Source);
      out.EndText();
      if (unit.HasTarget) {
        out.StartText("target");
        WriteText(out, unit.Target);
        out.EndText();
      }
      out.End();  // segment
      out.End();  // unit
    }
    out.End();  // file
  }
  out.End();  // xliff
  return out.Finish();
}

Document ReadXliff2(std::string_view data, const std::string& fileName) {
  Reader reader(fileName);
  xml::Stream(data, fileName, reader);
  return reader.Finish();
}

}  // namespace rux::exchange
