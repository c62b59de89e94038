// libxml2 plumbing of the XLIFF formats.
#include "exchange/xml_io.h"

#include <libxml/SAX2.h>
#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/xmlerror.h>

#include <algorithm>
#include <climits>
#include <stdexcept>

#include "exchange/unit.h"

namespace rux::exchange::xml {
namespace {

const xmlChar* X(const char* text) {
  return reinterpret_cast<const xmlChar*>(text);
}

// The prolog scan: the parser reads up to the root element's start and stops there, or at a document
// type declaration, whose line it keeps.
struct PrologScan {
  int DoctypeLine = 0;
};

void OnDoctype(void* context, const xmlChar*, const xmlChar*, const xmlChar*) {
  auto* parser = static_cast<xmlParserCtxtPtr>(context);
  static_cast<PrologScan*>(parser->_private)->DoctypeLine = xmlSAX2GetLineNumber(parser);
  xmlStopParser(parser);
}

void OnRootElement(void* context, const xmlChar*, const xmlChar*, const xmlChar*, int, const xmlChar**, int,
                   int, const xmlChar**) {
  xmlStopParser(static_cast<xmlParserCtxtPtr>(context));
}

void IgnoreError(void*, xmlErrorPtr) {}

// Exchange files take no document type: a DTD could declare entities that expand without bound or
// name files of this machine. The parser of libxml2 finds the declaration before anything of the
// document is read, and is stopped there.
void RefuseDocumentType(std::string_view data, const std::string& fileName) {
  xmlSAXHandler sax{};
  sax.initialized = XML_SAX2_MAGIC;
  sax.internalSubset = &OnDoctype;
  sax.startElementNs = &OnRootElement;
  sax.serror = &IgnoreError;  // the stream reader reports what is not well-formed, with its line
  PrologScan scan;
  xmlParserCtxtPtr parser = xmlCreatePushParserCtxt(&sax, nullptr, nullptr, 0, fileName.c_str());
  if (parser == nullptr) throw std::bad_alloc();
  parser->_private = &scan;
  xmlCtxtUseOptions(parser, XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
  // The prolog is short: the data goes in by pieces until the parser stops or fails.
  constexpr std::size_t kPiece = 4096;
  for (std::size_t at = 0; at < data.size(); at += kPiece) {
    const std::size_t size = std::min(kPiece, data.size() - at);
    const bool last = at + size == data.size();
    if (xmlParseChunk(parser, data.data() + at, static_cast<int>(size), last ? 1 : 0) != XML_ERR_OK ||
        parser->instate == XML_PARSER_EOF || parser->disableSAX != 0)
      break;
  }
  xmlFreeParserCtxt(parser);
  if (scan.DoctypeLine > 0)
    throw EExchangeParseError(fileName + ": line " + std::to_string(scan.DoctypeLine) +
                              ": a document type declaration (<!DOCTYPE>) is not accepted: exchange "
                              "files take no DTD and no entities");
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

StreamReader::StreamReader(std::string_view data, std::string fileName) : fileName_(std::move(fileName)) {
  if (data.size() > static_cast<std::size_t>(INT_MAX))
    throw EExchangeParseError(fileName_ + ": file too large");
  RefuseDocumentType(data, fileName_);
  // No network, no entity substitution, and libxml2's limits on the size of single texts and names
  // left on.
  const int options = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_COMPACT;
  reader_ =
      xmlReaderForMemory(data.data(), static_cast<int>(data.size()), fileName_.c_str(), "UTF-8", options);
  if (reader_ == nullptr) throw std::bad_alloc();
  xmlTextReaderSetStructuredErrorHandler(reader_, &StreamReader::OnError, this);
}

StreamReader::~StreamReader() {
  xmlFreeTextReader(reader_);
}

void StreamReader::OnError(void* self, xmlErrorPtr error) {
  auto* reader = static_cast<StreamReader*>(self);
  if (error == nullptr || error->level < XML_ERR_ERROR || !reader->firstError_.empty()) return;
  std::string text = error->message != nullptr ? error->message : "not well-formed XML";
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
  reader->firstError_ = text.empty() ? "not well-formed XML" : text;
  reader->errorLine_ = error->line;
}

void StreamReader::FailFromParser() const {
  if (firstError_.empty()) throw EExchangeParseError(fileName_ + ": not well-formed XML");
  Fail(errorLine_, firstError_);
}

void StreamReader::Fail(int line, const std::string& what) const {
  throw EExchangeParseError(fileName_ + ": line " + std::to_string(line) + ": " + what);
}

bool StreamReader::Read() {
  if (advanced_) {
    advanced_ = false;
    return xmlTextReaderNodeType(reader_) != XML_READER_TYPE_NONE;
  }
  const int result = xmlTextReaderRead(reader_);
  if (result < 0 || !firstError_.empty()) FailFromParser();
  return result == 1;
}

bool StreamReader::AtElement(const char* name) const {
  if (xmlTextReaderNodeType(reader_) != XML_READER_TYPE_ELEMENT) return false;
  return name == nullptr || xmlStrcmp(xmlTextReaderConstLocalName(reader_), X(name)) == 0;
}

std::string StreamReader::Namespace() const {
  const xmlChar* uri = xmlTextReaderConstNamespaceUri(reader_);
  return uri != nullptr ? reinterpret_cast<const char*>(uri) : "";
}

std::string StreamReader::Attr(const char* name, const char* ns) const {
  xmlChar* value = ns == nullptr ? xmlTextReaderGetAttribute(reader_, X(name))
                                 : xmlTextReaderGetAttributeNs(reader_, X(name), X(ns));
  if (value == nullptr) return {};
  std::string result(reinterpret_cast<const char*>(value));
  xmlFree(value);
  return result;
}

int StreamReader::Line() const {
  return xmlTextReaderGetParserLineNumber(reader_);
}

const xmlNode* StreamReader::Expand() {
  const xmlNode* node = xmlTextReaderExpand(reader_);
  if (node == nullptr || !firstError_.empty()) FailFromParser();
  return node;
}

void StreamReader::Skip() {
  const int result = xmlTextReaderNext(reader_);
  if (result < 0 || !firstError_.empty()) FailFromParser();
  advanced_ = true;  // at the end, the next Read answers false
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
