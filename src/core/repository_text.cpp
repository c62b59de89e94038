// Stored repository values as Unicode text, and what the similarity index keeps of them. The one
// place that decodes form-text literals for the repository.
#include <algorithm>

#include "host/core/locale.h"
#include "host/core/similarity.h"
#include "repository_store.h"
#include "core/values/string_notation.h"

namespace vaq {

std::string RepositoryText(TLCID Lcid, std::string_view Stored) {
  if (auto text = values::DecodeStringUtf8(Stored, Lcid)) return *std::move(text);
  return StringToUtf8(Lcid, Stored);
}

namespace repository {

std::string IndexedWord(std::string_view Folded) {
  if (Folded.size() <= kMaxIndexedWordBytes) return std::string(Folded);
  std::size_t end = kMaxIndexedWordBytes;
  while (end > 0 && (static_cast<unsigned char>(Folded[end]) & 0xC0) == 0x80) --end;  // inside a character
  return std::string(Folded.substr(0, end));
}

std::vector<std::string> IndexedWords(std::string_view SourceText) {
  std::vector<std::string> result;
  for (const TTextWord& word : SimilarityWords(SourceText)) result.push_back(IndexedWord(word.Folded));
  std::sort(result.begin(), result.end());
  result.erase(std::unique(result.begin(), result.end()), result.end());
  return result;
}

TIndexedEntry IndexEntry(TLCID SourceLocale, std::string Original, std::string Translation) {
  TIndexedEntry entry;
  entry.SourceText = RepositoryText(SourceLocale, Original);
  // A server's text columns cannot hold NUL; as a control character it only separates words anyway.
  std::replace(entry.SourceText.begin(), entry.SourceText.end(), '\0', ' ');
  entry.Weight = WordsWeight(SimilarityWords(entry.SourceText));
  entry.Words = IndexedWords(entry.SourceText);
  entry.Original = std::move(Original);
  entry.Translation = std::move(Translation);
  return entry;
}

}  // namespace repository
}  // namespace vaq
