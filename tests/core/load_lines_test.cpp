// Lines of a text file as LoadLines splits them: CR LF, LF and a lone CR each end a line, also
// where the file is read in more than one piece (the reads are of 1 MiB) and a line, or a CR LF,
// lies across the end of a piece.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/core/files.h"
#include "support/temp_dir.h"

namespace vaq {
namespace {

constexpr std::size_t kPiece = std::size_t{1} << 20;

std::vector<std::string> LinesOf(const std::string& text) {
  testing::TempDir dir;
  const std::string name = dir.Path() + "/lines.txt";
  WriteFileAtomic(name, text);
  return LoadLines(name);
}

TEST(LoadLines, EveryLineEndEndsALine) {
  EXPECT_EQ(LinesOf(""), std::vector<std::string>{});
  EXPECT_EQ(LinesOf("one"), std::vector<std::string>{"one"});
  EXPECT_EQ(LinesOf("one\r\ntwo\nthree\rfour"), (std::vector<std::string>{"one", "two", "three", "four"}));
  // Empty lines in each notation; a last line end adds no line; LF CR is two line ends.
  EXPECT_EQ(LinesOf("\r\n\n\ra\n\rb\r\n"), (std::vector<std::string>{"", "", "", "a", "", "b"}));
  // Not ASCII: UTF-8 and a 1252 byte pass as they are.
  EXPECT_EQ(LinesOf("Größe\r\n\xE9t\xE9\r\n"), (std::vector<std::string>{"Größe", "\xE9t\xE9"}));
}

TEST(LoadLines, LinesAcrossTheEndOfAPiece) {
  // A CR LF split by the end of the first piece is one line end.
  const std::string first(kPiece - 1, 'a');
  EXPECT_EQ(LinesOf(first + "\r\nb\r\n"), (std::vector<std::string>{first, "b"}));
  // A lone CR as the last byte of a piece, then a line.
  EXPECT_EQ(LinesOf(first + "\rb"), (std::vector<std::string>{first, "b"}));
  // A line that begins in one piece and ends in the third; a CR right at the start of a piece.
  const std::string longer(2 * kPiece + 10, 'x');
  EXPECT_EQ(LinesOf("head\r\n" + longer + "\r\ntail"), (std::vector<std::string>{"head", longer, "tail"}));
  const std::string exact(kPiece, 'y');
  EXPECT_EQ(LinesOf(exact + "\r\n\nz"), (std::vector<std::string>{exact, "", "z"}));
  // Many short lines in several pieces, CR and LF each found again after the other.
  std::string many;
  std::vector<std::string> expected;
  for (int i = 0; many.size() < 3 * kPiece; ++i) {
    expected.push_back("line " + std::to_string(i));
    many += expected.back() + (i % 3 == 0 ? "\r\n" : i % 3 == 1 ? "\n" : "\r");
  }
  EXPECT_EQ(LinesOf(many), expected);
}

}  // namespace
}  // namespace vaq
