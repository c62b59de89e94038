// XLIFF 2.0 files.
#include <string>

#include "exchange/formats.h"
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

// The text of a source or target: text nodes, <cp> code points, and the text inside other inline
// markup a tool may have added (<pc>, <mrk>); standalone placeholders have none.
void AppendText(const xmlNode* node, std::string& out) {
  for (const xmlNode* child = node->children; child != nullptr; child = child->next) {
    if (child->type == XML_TEXT_NODE || child->type == XML_CDATA_SECTION_NODE) {
      out += reinterpret_cast<const char*>(child->content);
    } else if (xml::Is(child, "cp")) {
      const unsigned long code = std::strtoul(xml::Attr(child, "hex").c_str(), nullptr, 16);
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
    } else if (child->type == XML_ELEMENT_NODE) {
      AppendText(child, out);
    }
  }
}

void ReadUnit(const xmlNode* node, Unit& unit, const std::string& fileName) {
  unit.Line = xml::Line(node);
  unit.Id = xml::Attr(node, "name");
  if (unit.Id.empty())
    throw EExchangeParseError(fileName + ": line " + std::to_string(unit.Line) +
                              ": unit without a name (the Id)");
  unit.Baseline = xml::Attr(node, "base", xml::kVaqNamespace);
  bool anySegment = false;
  bool allTranslated = true;
  bool anyTarget = false;
  for (const xmlNode* child = node->children; child != nullptr; child = child->next) {
    if (xml::Is(child, "notes")) {
      for (const xmlNode* note = child->children; note != nullptr; note = note->next) {
        if (!xml::Is(note, "note")) continue;
        std::string text;
        AppendText(note, text);
        const std::string category = xml::Attr(note, "category");
        if (category == kCategoryComment) unit.Comment = text;
        if (category == kCategoryPrevious) unit.PrevSource = text;
      }
    } else if (xml::Is(child, "segment") || xml::Is(child, "ignorable")) {
      // A tool may have split the text into several segments: they are joined again.
      if (xml::Is(child, "segment")) {
        anySegment = true;
        const std::string state = xml::Attr(child, "state");
        if (state != "translated" && state != "reviewed" && state != "final") allTranslated = false;
      }
      for (const xmlNode* part = child->children; part != nullptr; part = part->next) {
        if (xml::Is(part, "source")) AppendText(part, unit.Source);
        if (xml::Is(part, "target")) {
          anyTarget = true;
          AppendText(part, unit.Target);
        }
      }
    }
  }
  if (!anySegment)
    throw EExchangeParseError(fileName + ": line " + std::to_string(unit.Line) + ": unit without a segment");
  unit.HasTarget = anyTarget;
  unit.State = !anyTarget      ? UnitState::Initial
               : allTranslated ? UnitState::Translated
                               : UnitState::NeedsReview;
}

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
  xml::StreamReader in(data, fileName);
  Document document;
  bool root = false;
  FileUnits* file = nullptr;
  while (in.Read()) {
    if (!in.AtElement()) continue;
    if (!root) {
      if (!in.AtElement("xliff") || in.Namespace() != kNamespace)
        in.Fail(in.Line(), "not an XLIFF 2.0 document");
      root = true;
      document.SourceLang = in.Attr("srcLang");
      document.TargetLang = in.Attr("trgLang");
      document.Folder = in.Attr("folder", xml::kVaqNamespace);
    } else if (in.AtElement("file")) {
      document.Files.push_back(FileUnits{in.Attr("original"), {}});
      file = &document.Files.back();
      if (file->Original.empty()) in.Fail(in.Line(), "file without an original (the form file)");
    } else if (in.AtElement("unit") && file != nullptr) {
      // Units may sit in groups a tool added; each is read whole, then left behind.
      Unit unit;
      ReadUnit(in.Expand(), unit, fileName);
      file->Units.push_back(std::move(unit));
      in.Skip();
    }
  }
  if (!root) in.Fail(1, "not an XLIFF 2.0 document");
  return document;
}

}  // namespace rux::exchange
