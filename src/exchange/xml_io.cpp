// libxml2 plumbing of the XLIFF formats.
#include "exchange/xml_io.h"

#include <libxml/SAX2.h>
#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/xmlerror.h>

#include <algorithm>
#include <climits>
#include <exception>
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

const std::string& Element::Attr(std::string_view name, std::string_view ns) const {
  static const std::string kNone;
  for (const Attribute& attribute : Attributes)
    if (attribute.Name == name && attribute.Namespace == ns) return attribute.Value;
  return kNone;
}

void Fail(const std::string& fileName, int line, const std::string& what) {
  throw EExchangeParseError(fileName + ": line " + std::to_string(line) + ": " + what);
}

namespace {

std::string_view View(const xmlChar* text) {
  return text != nullptr ? reinterpret_cast<const char*>(text) : "";
}

// One parse: the handler, the captured element with its open descendants, the first problem.
struct Parse {
  Handler* Sink = nullptr;
  int Depth = 0;               // of the next element to start
  std::vector<Element> Open;   // Open[0]: the captured element; then its open descendants
  int TextHolders = 0;         // open elements whose text counts
  std::exception_ptr Failure;  // raised by the handler
  std::string Error;           // the parser's first error
  int ErrorLine = 0;
  int DoctypeLine = 0;
};

Parse& StateOf(void* context) {
  return *static_cast<Parse*>(static_cast<xmlParserCtxtPtr>(context)->_private);
}

// The callbacks run inside libxml2's C code: nothing may be thrown through it. A failure is kept
// and the parser stopped.
template <typename Work>
void Guarded(void* context, Work work) {
  Parse& parse = StateOf(context);
  if (parse.Failure || parse.DoctypeLine > 0) return;
  try {
    work(parse);
  } catch (...) {
    parse.Failure = std::current_exception();
    xmlStopParser(static_cast<xmlParserCtxtPtr>(context));
  }
}

void OnStart(void* context, const xmlChar* name, const xmlChar*, const xmlChar* uri, int, const xmlChar**,
             int attributeCount, int, const xmlChar** attributes) {
  Guarded(context, [&](Parse& parse) {
    Element element;
    element.Name = View(name);
    element.Namespace = View(uri);
    element.Line = xmlSAX2GetLineNumber(context);
    element.Attributes.reserve(static_cast<std::size_t>(attributeCount));
    // Five pointers per attribute: local name, prefix, URI, value, end of the value.
    for (int i = 0; i < attributeCount; ++i) {
      const xmlChar** attribute = attributes + 5 * i;
      element.Attributes.push_back({View(attribute[0]), View(attribute[2]),
                                    std::string(reinterpret_cast<const char*>(attribute[3]),
                                                static_cast<std::size_t>(attribute[4] - attribute[3]))});
    }
    if (!parse.Open.empty() || parse.Sink->Start(element, parse.Depth)) {
      if (parse.TextHolders > 0 || parse.Sink->HoldsText(element.Name)) ++parse.TextHolders;
      parse.Open.push_back(std::move(element));
    }
    ++parse.Depth;
  });
}

void OnEnd(void* context, const xmlChar*, const xmlChar*, const xmlChar*) {
  Guarded(context, [](Parse& parse) {
    --parse.Depth;
    if (parse.Open.empty()) return;
    if (parse.TextHolders > 0) --parse.TextHolders;
    Element done = std::move(parse.Open.back());
    parse.Open.pop_back();
    if (parse.Open.empty())
      parse.Sink->Captured(std::move(done));
    else
      parse.Open.back().Children.push_back(std::move(done));
  });
}

void OnText(void* context, const xmlChar* text, int length) {
  Guarded(context, [&](Parse& parse) {
    if (parse.TextHolders == 0) return;  // text outside sources, targets and notes is not needed
    std::vector<Element>& children = parse.Open.back().Children;
    if (children.empty() || !children.back().IsText()) children.emplace_back();
    children.back().Text.append(reinterpret_cast<const char*>(text), static_cast<std::size_t>(length));
  });
}

// A document type could declare entities that expand without bound or name files of this machine:
// the parser is stopped at the declaration, before any of it is read.
void OnDoctype(void* context, const xmlChar*, const xmlChar*, const xmlChar*) {
  Parse& parse = StateOf(context);
  if (parse.DoctypeLine == 0) parse.DoctypeLine = xmlSAX2GetLineNumber(context);
  xmlStopParser(static_cast<xmlParserCtxtPtr>(context));
}

void OnError(void* context, xmlErrorPtr error) {
  if (error == nullptr || error->level < XML_ERR_ERROR) return;
  Parse& parse = StateOf(context);
  if (!parse.Error.empty()) return;
  std::string text = error->message != nullptr ? error->message : "";
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
  parse.Error = text.empty() ? "not well-formed XML" : text;
  parse.ErrorLine = error->line;
  xmlStopParser(static_cast<xmlParserCtxtPtr>(context));  // the file is refused: no need to read on
}

}  // namespace

void Stream(std::string_view data, const std::string& fileName, Handler& handler) {
  if (data.size() > static_cast<std::size_t>(INT_MAX))
    throw EExchangeParseError(fileName + ": file too large");
  xmlSAXHandler sax{};
  sax.initialized = XML_SAX2_MAGIC;
  sax.startElementNs = &OnStart;
  sax.endElementNs = &OnEnd;
  sax.characters = &OnText;
  sax.ignorableWhitespace = &OnText;
  sax.cdataBlock = &OnText;
  sax.internalSubset = &OnDoctype;
  sax.serror = &OnError;
  Parse parse;
  parse.Sink = &handler;
  if (data.empty()) Fail(fileName, 1, "the file is empty");  // the parser takes no empty memory
  xmlParserCtxtPtr parser = xmlCreateMemoryParserCtxt(data.data(), static_cast<int>(data.size()));
  if (parser == nullptr) throw std::bad_alloc();
  // Our handler for the parse (as xmlSAXUserParseMemory does it); the context's own goes back
  // before it is freed.
  xmlSAXHandlerPtr own = parser->sax;
  parser->sax = &sax;
  parser->userData = parser;
  parser->_private = &parse;
  // No network; the predefined entities and character references come in decoded (no other entity
  // can be declared: a document type stops the parse).
  xmlCtxtUseOptions(parser, XML_PARSE_NONET | XML_PARSE_NOENT);
  xmlParseDocument(parser);
  parser->sax = own;
  xmlFreeParserCtxt(parser);

  if (parse.DoctypeLine > 0)
    Fail(fileName, parse.DoctypeLine,
         "a document type declaration (<!DOCTYPE>) is not accepted: exchange files take no DTD and no "
         "entities");
  if (parse.Failure) std::rethrow_exception(parse.Failure);
  if (!parse.Error.empty()) Fail(fileName, parse.ErrorLine, parse.Error);
}

}  // namespace rux::exchange::xml
