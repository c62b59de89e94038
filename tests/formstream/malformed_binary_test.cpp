// Damaged binary forms: the formatter, the resource conversions and the reader (typed reads and
// SkipValue) answer them with EReadError saying what is wrong and where, never with a crash, a
// hang, a huge allocation or a text.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>

#include "host/framework/formstream.h"
#include "support/form_generator.h"

namespace vaq::testing {
namespace {

std::string Convert(void (*convert)(TMemoryStream&, TMemoryStream&), const std::string& bytes) {
  TMemoryStream input(bytes);
  TMemoryStream output;
  convert(input, output);
  return output.Data();
}

void ToResource(const std::string& bytes) {
  TMemoryStream input(bytes);
  TMemoryStream output;
  ObjectTextToResource(input, output);
}

std::string Header(const std::string& form) {
  TMemoryStream header;
  WriteResourceHeader(header, "TForm1", static_cast<std::uint32_t>(form.size()));
  return header.Data();
}

// Every reader of a binary form.
const std::pair<const char*, std::function<void(const std::string&)>> kReaders[] = {
    {"ObjectBinaryToText", [](const std::string& b) { Convert(ObjectBinaryToText, b); }},
    {"ObjectTextToResource", ToResource},
    {"ObjectResourceToText with header",
     [](const std::string& b) { Convert(ObjectResourceToText, Header(b) + b); }},
    {"reads",
     [](const std::string& b) {
       TMemoryStream s(b);
       WalkFormBinary(s, WalkMode::Read, 16);
     }},
    {"skips",
     [](const std::string& b) {
       TMemoryStream s(b);
       WalkFormBinary(s, WalkMode::Skip, 16);
     }},
};

// Every reader raises EReadError saying `says`; offsets count from the start of the form.
void ExpectRefused(const std::string& bytes, const std::string& says, const std::string& context) {
  for (const auto& [name, read] : kReaders) {
    try {
      read(bytes);
      ADD_FAILURE() << name << " accepts " << context;
    } catch (const EReadError& error) {
      const std::string message = error.what();
      if (message.find(says) != std::string::npos) continue;
      // Behind a resource header the offsets are larger; the rest of the message is the same.
      const bool headed = std::string_view(name).ends_with("header");
      EXPECT_TRUE(headed && message.find(says.substr(0, says.find(" at offset"))) != std::string::npos)
          << name << ", " << context << ": " << message << "\nshould say: " << says;
    }
  }
}

// A form with a value of every kind, nested lists and collections, a prefix and a child.
std::string EveryKindForm() {
  std::string form =
      Convert(ObjectTextToBinary,
              "inherited Form1: TForm1 [300] A = Null B = (1 1000 100000 1099511627776) C = 1.5 "
              "D = 'str' E = alClient F = False G = True H = {0102} I = [x] J = '" +
                  std::string(256, 'L') +
                  "' K = nil L = <item [3] M = (2.5s) end> N = 1.5c O = 2.5d P = #119#8364 "
                  "Q = 'utf8' object B1: TButton end end");
  // Text gives no UTF-8 strings; Q's value becomes one.
  form.replace(form.find("\x06\x04utf8"), 6, std::string("\x14\x04\x00\x00\x00utf8", 9));
  return form;
}

// Form1: TForm1 with the property Left of the given bytes: its value starts at offset 22.
std::string FormWithValue(const std::string& value) {
  return "TPF0\x06TForm1\x05"
         "Form1\x04Left" +
         value + std::string(2, '\0');
}

TEST(MalformedBinary, TheIntactFormReadsAndEveryTruncationRaises) {
  const std::string form = EveryKindForm();
  for (const auto& [name, read] : kReaders) EXPECT_NO_THROW(read(form)) << name;
  for (const WalkMode mode : {WalkMode::Read, WalkMode::Skip}) {
    TMemoryStream stream(form);
    EXPECT_EQ(WalkFormBinary(stream, mode, 16), form);
  }
  for (std::size_t length = 4; length < form.size(); ++length) {
    ExpectRefused(form.substr(0, length), "", "length " + std::to_string(length));
  }
  for (std::size_t length = 0; length < 4; ++length) {  // not even a signature: no form at all
    EXPECT_THROW(Convert(ObjectBinaryToText, form.substr(0, length)), EReadError);
    EXPECT_THROW(ToResource(Header(form) + form.substr(0, length)), EReadError);
  }
}

TEST(MalformedBinary, Table) {
  std::string badSignature = EveryKindForm();
  badSignature[3] = '1';
  std::string childPosition = "TPF0\xF2" + Convert(ObjectTextToBinary, "object Form1: TForm1 end").substr(4);
  childPosition.insert(5, "\x06");  // a string where the integer belongs
  const struct {
    std::string bytes;
    std::string says;
  } rows[] = {
      {FormWithValue("\x15\x01\x02\x03\x04"), "Invalid value kind 21 at offset 22"},
      {FormWithValue("\x7F"), "Invalid value kind 127 at offset 22"},
      {FormWithValue("\xFF\x01"), "Invalid value kind 255 at offset 22"},
      {FormWithValue(std::string("\x01\x02\x05\x15\x00", 5)), "Invalid value kind 21 at offset 25"},
      {FormWithValue(std::string("\x0E\x7F\x00", 3)), "Invalid value kind 127 at offset 23"},
      {FormWithValue("\x0C\xFF\xFF\xFF\xFF"
                     "abc"),
       "String length 4294967295 runs past the end at offset 22"},
      {FormWithValue("\x0A\xFF\xFF\xFF\xFF"
                     "abc"),
       "Binary data length 4294967295 runs past the end at offset 22"},
      {FormWithValue("\x12\xFF\xFF\xFF\xFF"
                     "abc"),
       "Wide string length 4294967295 runs past the end at offset 22"},
      {FormWithValue("\x14\xFF\xFF\xFF\xFF"
                     "abc"),
       "UTF-8 string length 4294967295 runs past the end at offset 22"},
      // The two list ends after the value are the last bytes.
      {FormWithValue(std::string("\x0A\x03\x00\x00\x00", 5)),
       "Binary data length 3 runs past the end at offset 22"},
      {childPosition, "Expected an integer but found a string at offset 5"},
  };
  for (const auto& row : rows) ExpectRefused(row.bytes, row.says, row.says);
  for (const auto& [name, read] : kReaders) {
    if (std::string_view(name) == "ObjectTextToResource") {
      EXPECT_THROW(ToResource(Header(badSignature) + badSignature), EReadError);
    } else {
      EXPECT_THROW(read(badSignature), EReadError) << name;
    }
  }
}

std::string NestedComponents(int depth) {
  std::string form = "TPF0";
  for (int i = 0; i < depth; ++i) form += std::string("\x06TPanel\x00\x00", 9);
  return form + std::string(depth, '\0');
}

std::string NestedCollections(int collections) {
  std::string value;
  for (int i = 1; i < collections; ++i) value += "\x0E\x01\x03Sub";
  value += std::string("\x0E\x00", 2);
  for (int i = 1; i < collections; ++i) value += std::string(2, '\0');
  return FormWithValue(value);
}

// Components, lists and collections nested 500 levels deep together at most; the root is one.
TEST(MalformedBinary, NestingDeeperThanTheLimit) {
  const std::string_view says = "Nesting deeper than 500 levels";
  const struct {
    std::string within, beyond;
  } cases[] = {
      {NestedComponents(kMaxFormNesting), NestedComponents(kMaxFormNesting + 1)},
      {FormWithValue(std::string(499, '\x01') + std::string(499, '\0')),
       FormWithValue(std::string(500, '\x01') + std::string(500, '\0'))},
      {NestedCollections(kMaxFormNesting - 1), NestedCollections(kMaxFormNesting)},
      {NestedComponents(1), NestedComponents(20000)},
  };
  for (const auto& c : cases) {
    for (const auto& [name, read] : kReaders) {
      if (std::string_view(name) == "skips") continue;  // SkipValue counts from the value: below
      EXPECT_NO_THROW(read(c.within)) << name;
      try {
        read(c.beyond);
        ADD_FAILURE() << name << " accepts " << c.beyond.size() << " bytes";
      } catch (const EReadError& error) {
        EXPECT_NE(std::string(error.what()).find(says), std::string::npos) << error.what();
      }
    }
  }
  const auto skip = [](int lists) {
    TMemoryStream stream(std::string(lists, '\x01') + std::string(lists, '\0'));
    TFormReader reader(stream);
    reader.SkipValue();
    return reader.Position();
  };
  EXPECT_EQ(skip(kMaxFormNesting), 2u * kMaxFormNesting);
  EXPECT_THROW(skip(kMaxFormNesting + 1), EReadError);
}

// Seeded random damage: every reader gives a result or EReadError, and formatted text either reads
// back or is refused with EParserError.
TEST(MalformedBinary, RandomDamageIsRefusedOrFormatted) {
  const std::string form = EveryKindForm();
  std::mt19937 random(20240601);
  int refused = 0;
  for (int round = 0; round < 2000; ++round) {
    std::string damaged = form;
    for (int changes = 1 + static_cast<int>(random() % 4); changes > 0; --changes) {
      const std::size_t at = 4 + random() % (damaged.size() - 4);
      switch (random() % 3) {
        case 0:
          damaged[at] = static_cast<char>(random());
          break;
        case 1:
          damaged.erase(at, 1 + random() % 8);
          break;
        default:
          damaged.insert(at, 1, static_cast<char>(random() % 24));
          break;
      }
    }
    for (const auto& [name, read] : kReaders) {
      try {
        read(damaged);
      } catch (const EReadError&) {
        ++refused;
      }
    }
    std::string text;
    try {
      text = Convert(ObjectBinaryToText, damaged);
    } catch (const EReadError&) {
      continue;
    }
    try {
      Convert(ObjectTextToBinary, text);
    } catch (const EParserError&) {
    }
  }
  EXPECT_GT(refused, 5000);  // the damage is real
}

}  // namespace
}  // namespace vaq::testing
