// Whether an edited value may replace its original.
#include "core/values/value_check.h"

namespace vaq::values {
namespace {

// "an integer", "a set": the kind's name with its article.
std::string WithArticle(TValueKind Kind) {
  const std::string_view name = ValueKindName(Kind);
  const bool vowel = std::string_view("aeiou").find(name.front()) != std::string_view::npos;
  return (vowel ? "an " : "a ") + std::string(name);
}

}  // namespace

TValueVerdict CheckValueAgainstOriginal(std::string_view Original, std::string_view Value, TLCID Lcid) {
  TValueVerdict verdict;
  verdict.Original = ClassifyValue(Original, Lcid);
  verdict.Value = ClassifyValue(Value, Lcid, &verdict.Problem);
  if (verdict.Value == TValueKind::Invalid) return verdict;
  verdict.Accepted = verdict.Original == TValueKind::Invalid || verdict.Value == verdict.Original ||
                     (verdict.Original == TValueKind::Int64 && verdict.Value == TValueKind::Integer);
  return verdict;
}

std::string VerdictMessage(const TValueVerdict& Verdict) {
  if (Verdict.Accepted) return {};
  if (Verdict.Value == TValueKind::Invalid) {
    if (Verdict.Original == TValueKind::String && Verdict.Problem == "empty value")
      return "The value must be a string in quotes, for example ''.";
    return "Invalid value: " + Verdict.Problem + ".";
  }
  if (Verdict.Original == TValueKind::Integer && Verdict.Value == TValueKind::Int64)
    return "The value must be an integer of 32 bits (-2147483648 to 2147483647).";
  return "The value must be " + WithArticle(Verdict.Original) + " like the original value, not " +
         WithArticle(Verdict.Value) + ".";
}

}  // namespace vaq::values
