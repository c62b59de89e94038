// XLIFF 1.2 files.
#include <string>

#include "exchange/formats.h"
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

// The text of a source or target: text nodes, our character placeholders, and the text inside
// other inline markup (<g>, <mrk>); other placeholders have none.
void AppendText(const xmlNode* node, std::string& out) {
  for (const xmlNode* child = node->children; child != nullptr; child = child->next) {
    if (child->type == XML_TEXT_NODE || child->type == XML_CDATA_SECTION_NODE) {
      out += reinterpret_cast<const char*>(child->content);
    } else if (xml::Is(child, "ph") && xml::Attr(child, "ctype") == kCharType) {
      std::string code;
      AppendText(child, code);
      const unsigned long value = std::strtoul(code.c_str(), nullptr, 10);
      if (value > 0 && value < 32) out.push_back(static_cast<char>(value));
    } else if (xml::Is(child, "g") || xml::Is(child, "mrk")) {
      AppendText(child, out);
    }
  }
}

void ReadUnit(const xmlNode* node, Unit& unit, const std::string& fileName) {
  unit.Line = xml::Line(node);
  unit.Id = xml::Attr(node, "resname");
  if (unit.Id.empty())
    throw EExchangeParseError(fileName + ": line " + std::to_string(unit.Line) +
                              ": trans-unit without a resname (the Id)");
  unit.Baseline = xml::Attr(node, "base", xml::kVaqNamespace);
  bool anySource = false;
  for (const xmlNode* child = node->children; child != nullptr; child = child->next) {
    if (xml::Is(child, "source")) {
      anySource = true;
      AppendText(child, unit.Source);
    } else if (xml::Is(child, "target")) {
      unit.HasTarget = true;
      AppendText(child, unit.Target);
      const std::string state = xml::Attr(child, "state");
      // Without a state, a target counts as translated; "new" and the review states as unreviewed.
      unit.State = state.empty() || state == "translated" || state == "signed-off" || state == "final"
                       ? UnitState::Translated
                       : UnitState::NeedsReview;
    } else if (xml::Is(child, "note")) {
      std::string text;
      AppendText(child, text);
      const std::string from = xml::Attr(child, "from");
      if (from == "translator") unit.Comment = text;
      if (from == kFromPrevious) unit.PrevSource = text;
    }
  }
  if (!anySource)
    throw EExchangeParseError(fileName + ": line " + std::to_string(unit.Line) +
                              ": trans-unit without a source");
  // "approved" says the translator is done, whatever the state says.
  if (unit.HasTarget && xml::Attr(node, "approved") == "yes") unit.State = UnitState::Translated;
}

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
  xml::StreamReader in(data, fileName);
  Document document;
  bool root = false;
  FileUnits* file = nullptr;
  while (in.Read()) {
    if (!in.AtElement()) continue;
    if (!root) {
      if (!in.AtElement("xliff") || in.Namespace() != kNamespace)
        in.Fail(in.Line(), "not an XLIFF 1.2 document");
      root = true;
      document.Folder = in.Attr("folder", xml::kVaqNamespace);
    } else if (in.AtElement("file")) {
      document.Files.push_back(FileUnits{in.Attr("original"), {}});
      file = &document.Files.back();
      if (document.SourceLang.empty()) document.SourceLang = in.Attr("source-language");
      if (document.TargetLang.empty()) document.TargetLang = in.Attr("target-language");
    } else if (in.AtElement("trans-unit") && file != nullptr) {
      // Units may sit in groups; each is read whole, then left behind.
      Unit unit;
      ReadUnit(in.Expand(), unit, fileName);
      file->Units.push_back(std::move(unit));
      in.Skip();
    }
  }
  if (!root) in.Fail(1, "not an XLIFF 1.2 document");
  return document;
}

}  // namespace rux::exchange
