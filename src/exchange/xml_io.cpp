// libxml2 plumbing of the XLIFF formats.
#include "exchange/xml_io.h"

#include <libxml/parser.h>
#include <libxml/xmlerror.h>

#include <climits>
#include <stdexcept>

#include "exchange/unit.h"

namespace rux::exchange::xml {
namespace {

const xmlChar* X(const char* text) {
  return reinterpret_cast<const xmlChar*>(text);
}

}  // namespace

Writer::Writer() : writer_(nullptr) {
  xmlOutputBufferPtr output = xmlOutputBufferCreateIO(&Writer::Append, nullptr, this, nullptr);
  if (output == nullptr) throw std::bad_alloc();
  writer_ = xmlNewTextWriter(output);  // owns the output from here on
  if (writer_ == nullptr) {
    xmlOutputBufferClose(output);
    throw std::bad_alloc();
  }
  Check(xmlTextWriterSetIndent(writer_, 1), "indent");
  Check(xmlTextWriterSetIndentString(writer_, X(" ")), "indent");
  Check(xmlTextWriterStartDocument(writer_, "1.0", "UTF-8", nullptr), "declaration");
}

Writer::~Writer() {
  if (writer_ != nullptr) xmlFreeTextWriter(writer_);
}

int Writer::Append(void* context, const char* data, int length) {
  static_cast<Writer*>(context)->text_.append(data, static_cast<std::size_t>(length));
  return length;
}

void Writer::Check(int result, const char* what) {
  if (result < 0) throw std::runtime_error(std::string("XML writer failed at ") + what);
}

void Writer::Start(const char* name) {
  Check(xmlTextWriterStartElement(writer_, X(name)), name);
}

void Writer::StartText(const char* name) {
  Start(name);
  Check(xmlTextWriterSetIndent(writer_, 0), "indent");
}

void Writer::EndText() {
  End();
  Check(xmlTextWriterSetIndent(writer_, 1), "indent");
}

void Writer::Attribute(const char* name, std::string_view value) {
  const std::string text(value);
  Check(xmlTextWriterWriteAttribute(writer_, X(name), X(text.c_str())), name);
}

void Writer::PlainText(std::string_view text) {
  if (text.empty()) return;
  const std::string copy(text);
  Check(xmlTextWriterWriteString(writer_, X(copy.c_str())), "text");
}

void Writer::End() {
  Check(xmlTextWriterEndElement(writer_), "end of element");
}

std::string Writer::Finish() {
  Check(xmlTextWriterEndDocument(writer_), "end of document");
  xmlFreeTextWriter(writer_);  // flushes the rest into text_
  writer_ = nullptr;
  return std::move(text_);
}

DocPtr Parse(std::string_view data, const std::string& fileName) {
  if (data.size() > static_cast<std::size_t>(INT_MAX))
    throw EExchangeParseError(fileName + ": file too large");
  xmlParserCtxtPtr context = xmlNewParserCtxt();
  if (context == nullptr) throw std::bad_alloc();
  const int options =
      XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_HUGE | XML_PARSE_COMPACT;
  DocPtr doc(xmlCtxtReadMemory(context, data.data(), static_cast<int>(data.size()), fileName.c_str(), "UTF-8",
                               options));
  if (doc == nullptr || !context->wellFormed) {
    const xmlError* error = xmlCtxtGetLastError(context);
    std::string message = fileName;
    if (error != nullptr) {
      message += ": line " + std::to_string(error->line) + ": ";
      std::string text = error->message != nullptr ? error->message : "not well-formed XML";
      while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
      message += text;
    } else {
      message += ": not well-formed XML";
    }
    xmlFreeParserCtxt(context);
    throw EExchangeParseError(message);
  }
  xmlFreeParserCtxt(context);
  return doc;
}

bool Is(const xmlNode* node, const char* name) {
  return node != nullptr && node->type == XML_ELEMENT_NODE && xmlStrcmp(node->name, X(name)) == 0;
}

std::string Attr(const xmlNode* node, const char* name, const char* ns) {
  xmlChar* value = ns == nullptr ? xmlGetNoNsProp(node, X(name)) : xmlGetNsProp(node, X(name), X(ns));
  if (value == nullptr) return {};
  std::string result(reinterpret_cast<const char*>(value));
  xmlFree(value);
  return result;
}

bool HasAttr(const xmlNode* node, const char* name, const char* ns) {
  return ns == nullptr ? xmlHasNsProp(node, X(name), nullptr) != nullptr
                       : xmlHasNsProp(node, X(name), X(ns)) != nullptr;
}

int Line(const xmlNode* node) {
  return static_cast<int>(xmlGetLineNo(node));
}

}  // namespace rux::exchange::xml
