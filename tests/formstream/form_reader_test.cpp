// TFormReader beyond what walking whole forms shows (text_to_binary_test.cpp and the generated
// forms of roundtrip_test.cpp read every value kind through buffers of several sizes): reads of
// the wrong kind, strings converted between 8-bit and wide with the thread locale, and the
// stream's position.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "host/core/locale.h"
#include "host/framework/formstream.h"

namespace vaq {
namespace {

using Write = std::function<void(TFormWriter&)>;

std::string Bytes(const Write& write) {
  TFormWriter writer;
  write(writer);
  return writer.Data();
}

std::string Units(const std::u16string& text) {
  std::string result;
  for (const char16_t unit : text) result += std::to_string(unit) + " ";
  return result;
}

TEST(FormReader, ReadsOfTheWrongKindNameWhatWasExpected) {
  const struct {
    Write write;
    std::function<void(TFormReader&)> read;
    std::string message;
  } cases[] = {
      {[](TFormWriter& w) { w.WriteString("x"); }, [](TFormReader& r) { r.ReadInteger(); },
       "Expected an integer but found a string at offset 2"},
      {[](TFormWriter& w) { w.WriteInteger(std::int64_t{1} << 40); }, [](TFormReader& r) { r.ReadInteger(); },
       "Expected an integer but found a 64-bit integer at offset 2"},
      {[](TFormWriter& w) { w.WriteFloat(1); }, [](TFormReader& r) { r.ReadInt64(); },
       "Expected an integer but found an extended float at offset 2"},
      {[](TFormWriter& w) { w.WriteInteger(1); }, [](TFormReader& r) { r.ReadFloat(); },
       "Expected an extended float but found an 8-bit integer at offset 2"},
      {[](TFormWriter& w) { w.WriteFloat(1); }, [](TFormReader& r) { r.ReadSingle(); },
       "Expected a single float but found an extended float at offset 2"},
      {[](TFormWriter& w) { w.WriteDate(1); }, [](TFormReader& r) { r.ReadCurrency(); },
       "Expected a currency value but found a date at offset 2"},
      {[](TFormWriter& w) { w.WriteCurrency(1); }, [](TFormReader& r) { r.ReadDate(); },
       "Expected a date but found a currency value at offset 2"},
      {[](TFormWriter& w) { w.WriteIdent("x"); }, [](TFormReader& r) { r.ReadString(); },
       "Expected a string but found an identifier at offset 2"},
      {[](TFormWriter& w) { w.WriteBinary("x"); }, [](TFormReader& r) { r.ReadWideString(); },
       "Expected a string but found binary data at offset 2"},
      {[](TFormWriter& w) { w.WriteString("x"); }, [](TFormReader& r) { r.ReadIdent(); },
       "Expected an identifier but found a string at offset 2"},
      {[](TFormWriter& w) { w.WriteString("x"); }, [](TFormReader& r) { r.ReadBinary(); },
       "Expected binary data but found a string at offset 2"},
      {[](TFormWriter& w) { w.WriteValue(TValueType::vaCollection); },
       [](TFormReader& r) { r.CheckValue(TValueType::vaList); },
       "Expected a list but found a collection at offset 2"},
      {[](TFormWriter& w) { w.WriteInteger(5); }, [](TFormReader& r) { r.ReadListEnd(); },
       "Expected the end of a list but found byte 2 at offset 2"},
      {[](TFormWriter& w) { w.WriteRaw("\x7F", 1); }, [](TFormReader& r) { r.ReadInteger(); },
       "Invalid value kind 127 at offset 2"},
      {[](TFormWriter& w) { w.WriteInteger(5); }, [](TFormReader& r) { r.ReadUInt32(); },
       "Unexpected end of the form at offset 2"},
  };
  for (const auto& c : cases) {
    TMemoryStream stream(".." + Bytes(c.write));
    stream.Seek(2);  // offsets count from the stream's start, not the reader's
    TFormReader reader(stream);
    try {
      c.read(reader);
      ADD_FAILURE() << "no EReadError, expected: " << c.message;
    } catch (const EReadError& e) {
      EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
    }
  }
}

// 8-bit strings read as wide and wide strings read as 8-bit go through the thread locale's code page.
TEST(FormReader, StringsConvertWithTheThreadLocale) {
  const struct {
    const char* locale;
    Write write;
    bool wide;  // read with ReadWideString, else ReadString
    std::string expected;
  } cases[] = {
      {"de-DE", [](TFormWriter& w) { w.WriteWideString(u"caf\u00E9\u20AC"); }, false, "caf\xE9\x80"},
      {"de-DE", [](TFormWriter& w) { w.WriteUtf8String("caf\xC3\xA9\xE2\x82\xAC"); }, false, "caf\xE9\x80"},
      {"ru-RU", [](TFormWriter& w) { w.WriteWideString(u"\u0416\u00E9"); }, false, "\xC6?"},
      {"ru-RU", [](TFormWriter& w) { w.WriteString("\xC6"); }, true, "1046 "},
      {"de-DE", [](TFormWriter& w) { w.WriteString(std::string(300, '\x80')); }, true,
       [] {
         std::string units;
         for (int i = 0; i < 300; ++i) units += "8364 ";
         return units;
       }()},
      {"de-DE", [](TFormWriter& w) { w.WriteUtf8String("a\xC3"); }, true, "97 63 "},  // invalid UTF-8: '?'
  };
  for (const auto& c : cases) {
    const ScopedThreadLocale locale(StrToLCID(c.locale));
    TMemoryStream stream(Bytes(c.write));
    TFormReader reader(stream);
    EXPECT_EQ(c.wide ? Units(reader.ReadWideString()) : reader.ReadString(), c.expected) << c.expected;
    EXPECT_EQ(reader.Position(), stream.Size());
  }
}

// Position() counts what was consumed; the stream follows at Sync and when the reader goes.
TEST(FormReader, TheStreamFollowsWhatWasConsumed) {
  TMemoryStream stream("xx" + Bytes([](TFormWriter& w) {
                         w.WriteInteger(1);
                         w.WriteString("abc");
                         w.WriteInteger(300);
                       }));
  stream.Seek(2);
  {
    TFormReader reader(stream, 16);
    EXPECT_EQ(reader.Position(), 2u);
    EXPECT_EQ(reader.ReadInteger(), 1);
    reader.Sync();
    EXPECT_EQ(stream.Position(), 4u);
    EXPECT_EQ(reader.ReadString(), "abc");
    EXPECT_EQ(reader.Position(), 9u);
  }
  EXPECT_EQ(stream.Position(), 9u);
  TFormReader again(stream);
  EXPECT_EQ(again.ReadInteger(), 300);
}

}  // namespace
}  // namespace vaq
