// How similar two interface texts are, for the translation repository's suggestions. Texts are
// compared word by word, and every word weighs its number of characters, so that a changed long
// word costs more than a changed short one. What a translator does not see as a difference does not
// count: accelerator marks ("&File", "Datei(&F)") and trailing punctuation ("Name:", "Open...").
//
// A word is a run of letters and digits, or one Chinese or Japanese character (those scripts put no
// blanks between words), or one other sign ("-", "/", "%"). Blanks and control characters only
// separate words.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vaq {

struct TTextWord {
  std::string Text;    // UTF-8, without accelerator marks
  std::string Folded;  // case-folded: words that differ only in case fold to the same text
  int Weight = 0;      // characters
  // The bytes of the compared text the word came from, with its accelerator mark ("&Save").
  std::size_t Begin = 0;
  std::size_t End = 0;
};

// The words of a UTF-8 text that count for similarity, in order.
std::vector<TTextWord> SimilarityWords(std::string_view Utf8);
// The sum of the words' weights.
int WordsWeight(const std::vector<TTextWord>& Words);

// The weighted edit distance between two word sequences: inserting or deleting a word costs its
// weight, replacing a word by another the larger of the two weights, and by the same word in other
// case the number of characters whose case differs. Never less than the difference of the weights.
int WordDistance(const std::vector<TTextWord>& A, const std::vector<TTextWord>& B);

// The similarity of two word sequences in percent, rounded down: 100 * (1 - distance / the larger
// weight). Two texts without words are 100% alike (but a text without words has no suggestions).
int SimilarityPercent(const std::vector<TTextWord>& A, const std::vector<TTextWord>& B);
int SimilarityPercent(std::string_view A, std::string_view B);

// One word of a stored text, marked when it is not in the asked text at the same place of the best
// alignment (also when it differs only in case).
struct TWordDifference {
  std::size_t Begin = 0;  // bytes of the stored text
  std::size_t End = 0;
  bool Differs = false;
};

// The words of `Stored`, in order, each with whether it differs from `Asked`: what a suggestion
// shows marked, so that the translator sees what the stored translation may get wrong.
std::vector<TWordDifference> DiffWords(std::string_view Asked, std::string_view Stored);

}  // namespace vaq
