// libxml2 plumbing shared by the XLIFF readers and writers: a writer into memory, and a streaming
// reader that hands the elements a reader needs over whole and reports the line of an error.
#pragma once

#include <libxml/xmlwriter.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace rux::exchange::xml {

// Builds a document in memory with xmlTextWriter; every call checks its result.
class Writer {
 public:
  Writer();
  ~Writer();
  Writer(const Writer&) = delete;
  Writer& operator=(const Writer&) = delete;

  void Start(const char* name);
  // An element whose content is text: no indentation inside it, which would add to the text.
  void StartText(const char* name);
  void EndText();
  void Attribute(const char* name, std::string_view value);
  // Text; characters XML cannot carry (controls but tab, LF and CR) go through `control`, which
  // writes them as elements of the format.
  template <typename ControlFn>
  void Text(std::string_view text, ControlFn control) {
    std::size_t run = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
      const auto c = static_cast<unsigned char>(text[i]);
      if (c >= 32 || c == '\t' || c == '\n' || c == '\r') continue;
      PlainText(text.substr(run, i - run));
      control(c);
      run = i + 1;
    }
    PlainText(text.substr(run));
  }
  void PlainText(std::string_view text);
  void End();
  // The finished document (UTF-8, with the XML declaration).
  std::string Finish();

 private:
  void Check(int result, const char* what);
  static int Append(void* context, const char* data, int length);
  std::string text_;  // grows geometrically; the writer's own memory buffer grows by exact steps
  xmlTextWriterPtr writer_;
};

// An element copied out of the stream with everything inside it: a light tree of its own, made
// while libxml2's parser streams the document, for the part a reader needs whole (a unit). Names
// and namespaces are the parser's own strings: valid during the parse (within the Handler's calls).
struct Element {
  struct Attribute {
    std::string_view Name;       // local name
    std::string_view Namespace;  // URI; empty without one
    std::string Value;
  };
  std::string_view Name;       // local name; empty for a text node
  std::string_view Namespace;  // URI of an element
  std::string Text;            // a text node's text (text and CDATA next to each other are one node)
  int Line = 0;                // the line of the start tag's end, as libxml2 counts it
  std::vector<Attribute> Attributes;
  std::vector<Element> Children;  // elements and text nodes in document order

  bool IsText() const { return Name.empty(); }
  bool Is(std::string_view name) const { return Name == name; }
  // The value of an attribute without namespace, or in namespace `ns`; empty when it is missing.
  const std::string& Attr(std::string_view name, std::string_view ns = {}) const;
};

// What a reader does with the elements of a document (xml::Stream calls it).
class Handler {
 public:
  virtual ~Handler() = default;
  // The start of an element outside the captured ones, with its attributes (no children yet);
  // `depth` 0 is the root. True captures it: Captured then gets it whole at its end.
  virtual bool Start(const Element& element, int depth) = 0;
  virtual void Captured(Element&& element) = 0;
  // Whether the text inside a captured element named `name` counts (sources, targets, notes); the
  // text elsewhere in a captured element (the indentation between its parts) is left out.
  virtual bool HoldsText(std::string_view name) const = 0;
};

// Streams the document `data` through libxml2's SAX parser into `handler`. Errors raise
// EExchangeParseError naming the file and the line: what is not well-formed XML (an entity that
// nobody declared included), a document type declaration (DTD), which is refused where it stands
// before any of its declarations is read, and what the handler raises (Fail). No network access.
void Stream(std::string_view data, const std::string& fileName, Handler& handler);

// Raises EExchangeParseError "FILE: line N: WHAT".
[[noreturn]] void Fail(const std::string& fileName, int line, const std::string& what);

// The namespace of our own attributes and sub-states.
inline constexpr const char* kVaqNamespace = "urn:vaq:exchange:1";

}  // namespace rux::exchange::xml
