// The identifier of a resource-module project in its source, made from the project's name (the
// folder's name, which may be any text) or checked when the user gives one.
#include <dlfcn.h>
#include <unicode/unistr.h>
#include <unicode/utrans.h>
#include <unicode/uvernum.h>

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>

#include "host/core/projects.h"

// The name under which libicui18n exports a function of ICU's C interface ("utrans_close_72").
#define VAQ_ICU_NAME_OF(renamed) #renamed
#define VAQ_ICU_NAME(function) VAQ_ICU_NAME_OF(function)

namespace vaq {
namespace {

// Reserved words of Pascal (of its object-oriented dialects as well), each between spaces; compared
// without regard to case, as Pascal does.
constexpr std::string_view kPascalReserved =
    " absolute and array as asm begin case class const constructor destructor dispinterface "
    "div do downto else end except exports file finalization finally for function goto if "
    "implementation in inherited initialization inline interface is label library mod nil not "
    "object of on operator or out packed procedure program property raise record reintroduce "
    "repeat resourcestring self set shl shr string then threadvar to try type unit until uses "
    "var while with xor false true ";

// Keywords and alternative tokens of C++20, each between spaces; case matters.
constexpr std::string_view kCppReserved =
    " alignas alignof and and_eq asm auto bitand bitor bool break case catch char char8_t "
    "char16_t char32_t class compl concept const consteval constexpr constinit const_cast "
    "continue co_await co_return co_yield decltype default delete do double dynamic_cast else "
    "enum explicit export extern false float for friend goto if inline int long mutable "
    "namespace new noexcept not not_eq nullptr operator or or_eq private protected public "
    "register reinterpret_cast requires return short signed sizeof static static_assert "
    "static_cast struct switch template this thread_local throw true try typedef typeid "
    "typename union unsigned using virtual void volatile wchar_t while xor xor_eq ";

bool IsAsciiLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsAsciiDigit(char c) {
  return c >= '0' && c <= '9';
}

bool IsReserved(std::string_view word, bool pascal) {
  std::string key = " " + std::string(word) + " ";
  if (pascal) {
    std::transform(key.begin(), key.end(), key.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
    return kPascalReserved.find(key) != std::string_view::npos;
  }
  return kCppReserved.find(key) != std::string_view::npos;
}

// ICU's transliterators, in libicui18n, which only this needs: loaded on demand, since loading it
// with the core would cost every vaq process about half a millisecond at start.
class TTransliterators {
 public:
  TTransliterators() {
    void* library = dlopen("libicui18n.so." U_ICU_VERSION_SHORT, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (library == nullptr) return;
    // POSIX allows the object-to-function pointer conversion for dlsym.
    open_ = reinterpret_cast<decltype(&utrans_openU)>(dlsym(library, VAQ_ICU_NAME(utrans_openU)));
    translate_ =
        reinterpret_cast<decltype(&utrans_transUChars)>(dlsym(library, VAQ_ICU_NAME(utrans_transUChars)));
    close_ = reinterpret_cast<decltype(&utrans_close)>(dlsym(library, VAQ_ICU_NAME(utrans_close)));
  }

  // `text` through the transliterator `id`; unchanged when ICU cannot be had.
  std::u16string Transliterate(std::u16string_view id, std::u16string text) const {
    if (!open_ || !translate_ || !close_) return text;
    UErrorCode status = U_ZERO_ERROR;
    UParseError where{};
    UTransliterator* transliterator =
        open_(id.data(), static_cast<int32_t>(id.size()), UTRANS_FORWARD, nullptr, 0, &where, &status);
    if (U_FAILURE(status)) return text;
    std::u16string result;
    // A script written in syllables takes more letters in Latin: start with room for four per
    // character, and take what ICU asks for when that is not enough.
    for (std::size_t capacity = 4 * text.size() + 16;;) {
      result = text;
      result.resize(capacity);
      auto length = static_cast<int32_t>(text.size());
      int32_t limit = length;
      status = U_ZERO_ERROR;
      translate_(transliterator, result.data(), &length, static_cast<int32_t>(capacity), 0, &limit, &status);
      if (status == U_BUFFER_OVERFLOW_ERROR && static_cast<std::size_t>(length) > capacity) {
        capacity = static_cast<std::size_t>(length);
        continue;
      }
      result.resize(U_SUCCESS(status) ? static_cast<std::size_t>(length) : 0);
      break;
    }
    close_(transliterator);
    return U_SUCCESS(status) ? result : text;
  }

 private:
  decltype(&utrans_openU) open_ = nullptr;
  decltype(&utrans_transUChars) translate_ = nullptr;
  decltype(&utrans_close) close_ = nullptr;
};

// The name in ASCII: letters of other scripts transliterated to Latin and their accents dropped;
// what has no such form (signs, unassigned characters, bytes that are no UTF-8) stays non-ASCII.
std::string ToAscii(std::string_view name) {
  const icu::UnicodeString utf16 = icu::UnicodeString::fromUTF8(icu::StringPiece(name.data(), name.size()));
  const std::u16string latin = TTransliterators().Transliterate(
      u"Any-Latin; Latin-ASCII", std::u16string(utf16.getBuffer(), static_cast<std::size_t>(utf16.length())));
  std::string ascii;
  icu::UnicodeString(latin.data(), static_cast<int32_t>(latin.size())).toUTF8String(ascii);
  return ascii;
}

}  // namespace

std::string ModuleIdentifier(std::string_view Name, bool Pascal) {
  std::string identifier;
  bool gap = false;  // other characters since the last letter or digit
  for (const char c : ToAscii(Name)) {
    if (!IsAsciiLetter(c) && !IsAsciiDigit(c)) {
      gap = true;
      continue;
    }
    if (gap && !identifier.empty()) identifier += '_';
    gap = false;
    identifier += c;
  }
  if (identifier.empty()) return "Project";
  if (IsAsciiDigit(identifier.front())) identifier.insert(0, 1, '_');
  if (IsReserved(identifier, Pascal)) identifier += '_';
  return identifier;
}

std::string IdentifierProblem(std::string_view Identifier, bool Pascal) {
  if (Identifier.empty()) return "is empty";
  if (IsAsciiDigit(Identifier.front())) return "starts with a digit";
  if (!std::all_of(Identifier.begin(), Identifier.end(),
                   [](char c) { return IsAsciiLetter(c) || IsAsciiDigit(c) || c == '_'; }))
    return "may hold only the letters A to Z and a to z, digits and _";
  if (IsReserved(Identifier, Pascal)) return Pascal ? "is a reserved word of Pascal" : "is a keyword of C++";
  return {};
}

}  // namespace vaq
