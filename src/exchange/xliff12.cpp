// XLIFF 1.2 files.
#include <string>

#include "exchange/formats.h"
#include "exchange/unit_reader.h"
#include "exchange/xml_io.h"

namespace rux::exchange {
namespace {

constexpr const char* kNamespace = "urn:oasis:names:tc:xliff:document:1.2";
constexpr const char* kFromPrevious = "vaq-previous-source";
constexpr const char* kCharType = "x-vaq-char";

// A character XML cannot carry, as a placeholder of ours holding its code.
void WriteText(xml::Writer& out, const std::string& text, int& placeholder) {
  out.Text(text, [&](unsigned char c) {
    out.Start("ph");
    out.Attribute("id", "c" + std::to_string(++placeholder));
    out.Attribute("ctype", kCharType);
    out.PlainText(std::to_string(c));
    out.End();
  });
}

void WriteNote(xml::Writer& out, const char* from, const std::string& text) {
  out.StartText("note");
  out.Attribute("from", from);
  // Notes hold plain text only: control characters are left out.
  std::string plain;
  for (const char c : text)
    if (static_cast<unsigned char>(c) >= 32 || c == '\t' || c == '\n') plain.push_back(c);
  out.PlainText(plain);
  out.EndText();
}

// The text of a source or target: text, our character placeholders, and the text inside other
// inline markup (<g>, <mrk>); other placeholders have none.
void AppendText(const xml::Element& node, std::string& out) {
  for (const xml::Element& child : node.Children) {
    if (child.IsText()) {
      out += child.Text;
    } else if (child.Is("ph") && child.Attr("ctype") == kCharType) {
      std::string code;
      AppendText(child, code);
      const unsigned long value = std::strtoul(code.c_str(), nullptr, 10);
      if (value > 0 && value < 32) out.push_back(static_cast<char>(value));
    } else if (child.Is("g") || child.Is("mrk")) {
      AppendText(child, out);
    }
  }
}

void ReadUnit(const xml::Element& node, Unit& unit, const std::string& fileName) {
  unit.Line = node.Line;
  unit.Id = node.Attr("resname");
  if (unit.Id.empty()) xml::Fail(fileName, unit.Line, "trans-unit without a resname (the Id)");
  unit.Baseline = node.Attr("base", xml::kVaqNamespace);
  bool anySource = false;
  for (const xml::Element& child : node.Children) {
    if (child.Is("source")) {
      anySource = true;
      AppendText(child, unit.Source);
    } else if (child.Is("target")) {
      unit.HasTarget = true;
      AppendText(child, unit.Target);
      const std::string& state = child.Attr("state");
      // Without a state, a target counts as translated; "new" and the review states as unreviewed.
      unit.State = state.empty() || state == "translated" || state == "signed-off" || state == "final"
                       ? UnitState::Translated
                       : UnitState::NeedsReview;
    } else if (child.Is("note")) {
      std::string text;
      AppendText(child, text);
      const std::string& from = child.Attr("from");
      if (from == "translator") unit.Comment = text;
      if (from == kFromPrevious) unit.PrevSource = text;
    }
  }
  if (!anySource) xml::Fail(fileName, unit.Line, "trans-unit without a source");
  // "approved" says the translator is done, whatever the state says.
  if (unit.HasTarget && node.Attr("approved") == "yes") unit.State = UnitState::Translated;
}

// The document from the stream: the root's folder, a FileUnits per <file> with the languages of
// the first, each <trans-unit> (in groups, too) taken whole.
class Reader : public UnitReader {
 public:
  explicit Reader(const std::string& fileName) : UnitReader(fileName, ReadUnit, "XLIFF 1.2") {}

  bool Start(const xml::Element& element, int depth) override {
    if (depth == 0) {
      if (!element.Is("xliff") || element.Namespace != kNamespace) NotTheFormat(element.Line);
      root_ = true;
      document_.Folder = element.Attr("folder", xml::kVaqNamespace);
      return false;
    }
    if (element.Is("file")) {
      document_.Files.push_back(FileUnits{element.Attr("original"), {}});
      if (document_.SourceLang.empty()) document_.SourceLang = element.Attr("source-language");
      if (document_.TargetLang.empty()) document_.TargetLang = element.Attr("target-language");
      return false;
    }
    return element.Is("trans-unit") && !document_.Files.empty();
  }
};

}  // namespace

std::string WriteXliff12(const Document& document) {
  xml::Writer out;
  out.Start("xliff");
  out.Attribute("xmlns", kNamespace);
  out.Attribute("xmlns:vaq", xml::kVaqNamespace);
  out.Attribute("version", "1.2");
  out.Attribute("vaq:folder", document.Folder);
  for (const FileUnits& file : document.Files) {
    out.Start("file");
    out.Attribute("original", file.Original);
    out.Attribute("source-language", document.SourceLang);
    out.Attribute("target-language", document.TargetLang);
    out.Attribute("datatype", "plaintext");
    out.Start("body");
    int unitNumber = 0;
    for (const Unit& unit : file.Units) {
      int placeholder = 0;
      out.Start("trans-unit");
      out.Attribute("id", "u" + std::to_string(++unitNumber));
      out.Attribute("resname", unit.Id);
      if (!unit.Baseline.empty()) out.Attribute("vaq:base", unit.Baseline);
      out.Attribute("xml:space", "preserve");
      if (unit.State == UnitState::Translated) out.Attribute("approved", "yes");
      out.StartText("source");
      WriteText(out, unit.Source, placeholder);
      out.EndText();
      if (unit.HasTarget) {
        out.StartText("target");
        out.Attribute("state",
                      unit.State == UnitState::Translated ? "translated" : "needs-review-translation");
        WriteText(out, unit.Target, placeholder);
        out.EndText();
      }
      WriteNote(out, "developer",
                unit.Type + " " + unit.Property + (unit.IsString ? "" : " (form-text notation)"));
      if (!unit.PrevSource.empty()) WriteNote(out, kFromPrevious, unit.PrevSource);
      if (!unit.Comment.empty()) WriteNote(out, "translator", unit.Comment);
      out.End();  // trans-unit
    }
    out.End();  // body
    out.End();  // file
  }
  out.End();  // xliff
  return out.Finish();
}

Document ReadXliff12(std::string_view data, const std::string& fileName) {
  Reader reader(fileName);
  xml::Stream(data, fileName, reader);
  return reader.Finish();
}

}  // namespace rux::exchange
