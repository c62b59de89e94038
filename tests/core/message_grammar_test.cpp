// The grammar of every message the host and the module show: the texts of the string tables and
// the core's message texts, the literals that go into errors, warnings, exceptions and printed
// lines, and the commands' descriptions, collected from the sources. Checked: "a" and "an" by the sound of
// the next word, a word written twice in a row, the capital letter that starts a message of a string table
// and every sentence after the first.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace vaq {
namespace {

namespace fs = std::filesystem;

// One run of adjacent string literals inside a message expression, with where it stands.
struct Fragment {
  std::string Text;
  std::string Where;    // file:line
  bool Starts = false;  // the run opens the message (nothing comes before it)
  bool Table = false;   // a text of a string table: a whole message on its own
};

// The source with comments blanked out and every string literal replaced by "\x01<n>\x01"; the
// literals' texts (escapes resolved) and lines in `Literals`.
struct Scanned {
  std::string Code;
  std::vector<std::pair<std::string, int>> Literals;
};

char Escaped(char c) {
  switch (c) {
    case 'n':
    case 'r':
    case 't':
      return ' ';
    default:
      return c;
  }
}

Scanned Scan(const std::string& source) {
  Scanned out;
  int line = 1;
  for (std::size_t i = 0; i < source.size();) {
    const char c = source[i];
    if (c == '\n') ++line;
    if (source.compare(i, 2, "//") == 0) {
      while (i < source.size() && source[i] != '\n') ++i;
      continue;
    }
    if (source.compare(i, 2, "/*") == 0) {
      const std::size_t end = source.find("*/", i + 2);
      for (std::size_t k = i; k < std::min(end, source.size()); ++k) line += source[k] == '\n';
      i = end == std::string::npos ? source.size() : end + 2;
      continue;
    }
    const bool afterWord =
        i > 0 && (std::isalnum(static_cast<unsigned char>(source[i - 1])) || source[i - 1] == '_');
    if (c == 'R' && !afterWord && i + 1 < source.size() &&
        source[i + 1] == '"') {  // a raw string: no message
      const std::size_t open = source.find('(', i);
      const std::string close = ")" + source.substr(i + 2, open - i - 2) + "\"";
      const std::size_t end = source.find(close, open);
      for (std::size_t k = i; k < std::min(end, source.size()); ++k) line += source[k] == '\n';
      out.Code += "\"\"";
      i = end == std::string::npos ? source.size() : end + close.size();
      continue;
    }
    if (c == '\'' && afterWord && std::isdigit(static_cast<unsigned char>(source[i - 1]))) {  // 86'400
      out.Code += c;
      ++i;
      continue;
    }
    if (c == '\'') {  // a character literal
      out.Code += "' '";
      i += source[i + 1] == '\\' ? 4 : 3;
      while (i < source.size() && source[i - 1] != '\'') ++i;
      continue;
    }
    if (c == '"') {
      std::string text;
      for (++i; i < source.size() && source[i] != '"'; ++i) {
        if (source[i] == '\\' && i + 1 < source.size()) {
          const char e = source[++i];
          if (e == 'x') {  // a byte by its code: no letter of a message
            while (i + 1 < source.size() && std::isxdigit(static_cast<unsigned char>(source[i + 1]))) ++i;
            text += ' ';
          } else {
            text += Escaped(e);
          }
        } else {
          text += source[i];
        }
      }
      ++i;
      out.Code += "\x01" + std::to_string(out.Literals.size()) + "\x01";
      out.Literals.emplace_back(std::move(text), line);
      continue;
    }
    out.Code += c;
    ++i;
  }
  return out;
}

// The fragments of the messages of one file.
void Collect(const fs::path& file, std::vector<Fragment>& fragments) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream buffer;
  buffer << in.rdbuf();
  const Scanned scanned = Scan(buffer.str());
  const std::string& code = scanned.Code;
  static const std::regex kMessage(
      R"(\b(Show\w*|\w*Error|\w*Warning|E[A-Z]\w*(Missing|Notes|Record)|Throw\w*|Fail|refuse)\s*[({]|)"
      R"(\bf?printf\s*\(|\bTResString\s+\w+\s*\{|\bconst\s+char\s*\*\s*const\s+s\w+\s*=)");
  // The tables of commands: their synopses and descriptions are what --help shows.
  if (file.filename().string().starts_with("commands")) {
    for (const auto& [text, line] : scanned.Literals)
      fragments.push_back({text, file.filename().string() + ":" + std::to_string(line), false, false});
  }
  for (auto it = std::sregex_iterator(code.begin(), code.end(), kMessage); it != std::sregex_iterator();
       ++it) {
    const bool table = it->str().find("TResString") != std::string::npos || it->str().find("const") == 0;
    // The message runs to the bracket that closes the one it opened with, or to the ";".
    std::size_t at = static_cast<std::size_t>(it->position() + it->length());
    int depth = 1;
    bool first = true;
    bool gap = false;  // code between the last literal and this one
    Fragment current;
    const auto flush = [&] {
      if (!current.Text.empty()) fragments.push_back(current);
      current = Fragment();
    };
    for (; at < code.size() && depth > 0; ++at) {
      const char c = code[at];
      if (c == '(' || c == '{' || c == '[') ++depth;
      if (c == ')' || c == '}' || c == ']') --depth;
      if (c == ';' && depth == 1) break;
      if (c == '\x01') {
        const std::size_t end = code.find('\x01', at + 1);
        const auto& [text, line] = scanned.Literals[std::stoul(code.substr(at + 1, end - at - 1))];
        if (gap) flush();
        if (current.Text.empty()) {
          current.Where = file.filename().string() + ":" + std::to_string(line);
          current.Starts = first;
          current.Table = table;
        }
        current.Text += text;
        first = false;
        gap = false;
        at = end;
        continue;
      }
      if (!std::isspace(static_cast<unsigned char>(c))) {
        // A literal of a string table stands behind its number.
        if (!(table && (std::isdigit(static_cast<unsigned char>(c)) || c == ','))) first = false;
        gap = !current.Text.empty() || gap;
      }
    }
    flush();
  }
}

std::vector<Fragment> Messages() {
  std::vector<Fragment> fragments;
  const fs::path root = fs::path(VAQ_TESTS_SOURCE_DIR) / "..";
  for (const char* folder : {"src", "apps"}) {
    for (const auto& entry : fs::recursive_directory_iterator(root / folder)) {
      const std::string ext = entry.path().extension().string();
      if (ext == ".cpp" || ext == ".h") Collect(entry.path(), fragments);
    }
  }
  return fragments;
}

// Whether a word is spoken with a vowel first: "an" goes before it.
bool VowelSound(const std::string& word) {
  if (word.empty()) return false;
  const char first = word[0];
  if (std::isdigit(static_cast<unsigned char>(first))) {
    // eight, eleven, eighteen, eighty
    return first == '8' || std::regex_match(word, std::regex(R"(1[18](\D.*)?)"));
  }
  // Letters spoken one by one (UTF, RCDATA, XML): by the name of the first.
  if (word.size() > 1 && std::isupper(static_cast<unsigned char>(word[1])) &&
      std::isupper(static_cast<unsigned char>(first))) {
    return std::string_view("AEFHILMNORSX").find(first) != std::string_view::npos;
  }
  const std::string lower = [&] {
    std::string l;
    for (const char c : word) l += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return l;
  }();
  for (const char* consonant : {"uni", "use", "usa", "usu", "utf", "one", "once", "eu"})
    if (lower.starts_with(consonant)) return false;
  for (const char* silent : {"hour", "honest", "honour"})
    if (lower.starts_with(silent)) return true;
  return std::string_view("aeiou").find(lower[0]) != std::string_view::npos;
}

TEST(MessageGrammar, EveryMessageReadsRight) {
  const std::vector<Fragment> fragments = Messages();
  // Enough to be the messages of the whole program, not of one file.
  ASSERT_GT(fragments.size(), 300u);
  static const std::regex kArticle(R"((^|[^\w'])([Aa]n?) +([A-Za-z0-9][\w-]*))");
  static const std::regex kTwice(R"(\b([A-Za-z]+)\s+\1\b)", std::regex::icase);
  static const std::regex kSentence(R"([a-z)'][.!?] +([a-z]\w*))");
  std::vector<std::string> problems;
  for (const Fragment& fragment : fragments) {
    const std::string& text = fragment.Text;
    const std::string where = fragment.Where + ": \"" + text + "\": ";
    for (auto it = std::sregex_iterator(text.begin(), text.end(), kArticle); it != std::sregex_iterator();
         ++it) {
      const std::string article = (*it)[2], word = (*it)[3];
      const bool an = article.size() == 2;
      if (an != VowelSound(word)) problems.push_back(where + "\"" + article + " " + word + "\"");
    }
    for (auto it = std::sregex_iterator(text.begin(), text.end(), kTwice); it != std::sregex_iterator();
         ++it) {
      // "the the", "The the"; not an option and its value ("--dir DIR").
      const std::string one = (*it)[1], other = it->str().substr(it->str().size() - one.size());
      if (one.substr(1) == other.substr(1)) problems.push_back(where + "\"" + it->str() + "\" twice");
    }
    for (auto it = std::sregex_iterator(text.begin(), text.end(), kSentence); it != std::sregex_iterator();
         ++it) {
      const std::string word = (*it)[1];
      if (word != "g" && word != "e")  // e.g., i.e.
        problems.push_back(where + "a sentence starts with \"" + word + "\"");
    }
    // A text of a string table is a message of its own: it starts with a capital letter (or with
    // what it names, a file say).
    if (fragment.Table && fragment.Starts && std::islower(static_cast<unsigned char>(text.front())))
      problems.push_back(where + "no capital letter at the start");
  }
  for (const std::string& problem : problems) ADD_FAILURE() << problem;
}

// The checks find what they are meant to find.
TEST(MessageGrammar, TheChecksSeeTheirCases) {
  EXPECT_TRUE(VowelSound("integer"));
  EXPECT_TRUE(VowelSound("8-bit"));
  EXPECT_TRUE(VowelSound("11"));
  EXPECT_TRUE(VowelSound("RCDATA"));
  EXPECT_TRUE(VowelSound("hour"));
  EXPECT_FALSE(VowelSound("UTF-8"));
  EXPECT_FALSE(VowelSound("unit"));
  EXPECT_FALSE(VowelSound("16-bit"));
  EXPECT_FALSE(VowelSound("one"));
  EXPECT_FALSE(VowelSound("string"));
  const fs::path file = fs::temp_directory_path() / ("vaq-grammar-" + std::to_string(::getpid()) + ".cpp");
  std::ofstream(file) << "// ShowError(\"not a message\");\n"
                         "void f() { ShowError(\"Got a integer\" + name + \"a a word\");\n"
                         "throw EVaqError(Format(\"%s: it failed. then\", {x}));\n"
                         "inline constexpr TResString SText{65000, \"lower start\"};\n"
                         "std::fprintf(stderr, \"vaq: \\\"%s\\\" is not an file\\n\", x); }\n"
                         "const char* raw = R\"x(ShowError(\"a integer\"))x\"; int n = 86'400;\n";
  std::vector<Fragment> fragments;
  Collect(file, fragments);
  fs::remove(file);
  ASSERT_EQ(fragments.size(), 5u);
  EXPECT_EQ(fragments[0].Text, "Got a integer");
  EXPECT_TRUE(fragments[0].Starts);
  EXPECT_EQ(fragments[1].Text, "a a word");
  EXPECT_FALSE(fragments[1].Starts);
  EXPECT_EQ(fragments[2].Text, "%s: it failed. then");
  EXPECT_TRUE(fragments[3].Table && fragments[3].Starts);
  EXPECT_EQ(fragments[4].Text, "vaq: \"%s\" is not an file ");
}

}  // namespace
}  // namespace vaq
