// The resource header, the detection of a form's notation, and how each conversion uses its
// streams: it reads from the input's position, writes at the output's position, and on an error
// leaves both as they were.
#include <gtest/gtest.h>

#include <string>

#include "host/framework/formstream.h"

namespace vaq {
namespace {

std::string Header(std::string_view rootClass, std::uint32_t size) {
  TMemoryStream stream;
  WriteResourceHeader(stream, rootClass, size);
  return stream.Data();
}

std::string ToBinary(const std::string& text) {
  TMemoryStream input(text);
  TMemoryStream output;
  ObjectTextToBinary(input, output);
  return output.Data();
}

TEST(ResourceHeader, BytesAndPosition) {
  EXPECT_EQ(Header("TForm1", 0x12345678), std::string("\xFF\x0A\x00TFORM1\x00\x30\x10\x78\x56\x34\x12", 16));
  EXPECT_EQ(Header("TMainForm_2", 5), std::string("\xFF\x0A\x00TMAINFORM_2\x00\x30\x10\x05\x00\x00\x00", 21));
  EXPECT_EQ(Header("", 0), std::string("\xFF\x0A\x00\x00\x30\x10\x00\x00\x00\x00", 10));
  TMemoryStream stream("abcdefghijklmnopqrstuvwxyz");
  stream.Seek(2);
  WriteResourceHeader(stream, "TA", 1);
  EXPECT_EQ(stream.Data(), std::string("ab\xFF\x0A\x00TA\x00\x30\x10\x01\x00\x00\x00opqrstuvwxyz", 26));
  EXPECT_EQ(stream.Position(), 14u);
}

TEST(ResourceHeader, IsSkippedOnlyWhereThereIsOne) {
  const std::string header = Header("TForm1", 4);
  const struct {
    std::string bytes;
    std::size_t from, after;
  } cases[] = {{"xx" + header + "TPF0", 2, 2 + header.size()},
               {"xx" + header + "TPF0", 0, 0},
               {"TPF0", 0, 0},
               {std::string("\xFF\x0A", 2), 0, 0},
               {std::string("\xFF\x0B\x00TPF0", 7), 0, 0},
               {"", 0, 0}};
  for (const auto& c : cases) {
    TMemoryStream stream(c.bytes);
    stream.Seek(c.from);
    EXPECT_EQ(HasResourceHeader(stream), c.after != c.from);
    SkipResourceHeader(stream);
    EXPECT_EQ(stream.Position(), c.after);
  }
  for (std::size_t cut = 3; cut < header.size(); ++cut) {
    TMemoryStream stream(header.substr(0, cut));
    EXPECT_THROW(SkipResourceHeader(stream), EReadError) << cut;
    EXPECT_EQ(stream.Position(), 0u);
  }
}

TEST(TestStreamFormat, Table) {
  using enum TStreamOriginalFormat;
  const struct {
    std::string bytes;
    TStreamOriginalFormat format;
  } cases[] = {
      {"TPF0", sofBinary},
      {std::string("\xFF\x0A\x00", 3), sofBinary},
      {std::string("\xFF\x0A\x01", 3), sofUnknown},
      {"TPF", sofUnknown},
      {" TPF0", sofUnknown},
      {"object TForm1", sofText},
      {"OBJECT Form1: TForm1", sofText},
      {"Inherited Form1: TForm1", sofText},
      {"inline Frame1: TFrame1", sofText},
      {"  \t\r\n\v\fobject A: B", sofText},
      {"\r\n\xEF\xBB\xBF  object A: B", sofText},
      {"\xEF\xBB\xBF\xEF\xBB\xBFobject A: B", sofUnknown},
      {"object:", sofText},
      {"object{", sofText},
      {"object", sofUnknown},
      {"objects A: B", sofUnknown},
      {"object1 A: B", sofUnknown},
      {"object_ A: B", sofUnknown},
      {"inheritedX", sofUnknown},
      {"end", sofUnknown},
      {"", sofUnknown},
      {std::string("\0object A: B", 12), sofUnknown},
  };
  for (const auto& c : cases) {
    TMemoryStream stream("TPF0" + c.bytes);
    stream.Seek(4);  // it looks from the position on
    EXPECT_EQ(TestStreamFormat(stream), c.format) << '"' << c.bytes << '"';
    EXPECT_EQ(stream.Position(), 4u);
  }
}

TEST(ObjectTextToResource, HeaderOfTheRootClassUnlessOneComesWithTheForm) {
  const std::string text =
      "inherited MainForm: TMainForm [3]\r\n  Caption = 'Hello'\r\n  object OK: TButton\r\n  end\r\nend\r\n";
  const std::string form = ToBinary(text);
  const std::string resource = Header("TMainForm", static_cast<std::uint32_t>(form.size())) + form;
  // A header that comes with the form is copied as it is, even with a size that does not match.
  const std::string odd = Header("TSomething", 99) + form;
  const struct {
    std::string input, output;
    TStreamOriginalFormat format;
  } cases[] = {{"\xEF\xBB\xBF" + text, resource, TStreamOriginalFormat::sofText},
               {form, resource, TStreamOriginalFormat::sofBinary},
               {odd, odd, TStreamOriginalFormat::sofBinary},
               {"hello", "", TStreamOriginalFormat::sofUnknown}};
  for (const auto& c : cases) {
    TMemoryStream input(c.input);
    TMemoryStream output;
    EXPECT_EQ(ObjectTextToResource(input, output), c.format);
    EXPECT_EQ(output.Data(), c.output);
    EXPECT_EQ(input.Position(), c.output.empty() ? 0 : input.Size());
  }
}

using Conversion = void (*)(TMemoryStream&, TMemoryStream&);

void ToResource(TMemoryStream& input, TMemoryStream& output) {
  ObjectTextToResource(input, output);
}

// An input stream of `bytes` that owns them, or a view of them (as vaq convert reads a mapped file).
TMemoryStream Input(const std::string& bytes, bool view) {
  return view ? TMemoryStream::View(bytes) : TMemoryStream(bytes);
}

// Input after "junk", output after "head": the result goes after "head", the input stops after
// the form; on an error both stay as they were. A view input is read where it lies: no conversion
// copies it.
TEST(Conversions, UseTheStreamsFromTheirPositions) {
  for (const bool view : {false, true}) {
    SCOPED_TRACE(view ? "view" : "own bytes");
    const std::string text = "object Form1: TForm1\r\n  Left = 1\r\nend\r\n";
    const std::string binary = ToBinary(text);
    const std::string resource = Header("TForm1", static_cast<std::uint32_t>(binary.size())) + binary;
    const struct {
      Conversion convert;
      std::string input, output;
    } good[] = {{ObjectTextToBinary, text, binary},   {ObjectBinaryToText, binary, text},
                {ObjectResourceToText, binary, text}, {ObjectResourceToText, resource, text},
                {ToResource, text, resource},         {ToResource, binary, resource},
                {ToResource, resource, resource}};
    for (const auto& c : good) {
      const bool isText = c.input.starts_with("object");  // text is read to its end
      const std::string bytes = "junk" + c.input + (isText ? "" : "trailing");
      TMemoryStream input = Input(bytes, view);
      input.Seek(4);
      TMemoryStream output(std::string("head"));
      output.Seek(4);
      c.convert(input, output);
      EXPECT_EQ(output.Data(), "head" + c.output);
      EXPECT_EQ(output.Position(), output.Size());
      EXPECT_EQ(input.Position(), isText ? input.Size() : 4 + c.input.size());
      EXPECT_EQ(input.IsView(), view);
    }
    const struct {
      Conversion convert;
      std::string input;
    } bad[] = {{ObjectTextToBinary, "object Form1: TForm1\r\n  Left = ?\r\nend"},
               {ObjectBinaryToText, binary.substr(0, binary.size() - 1)},
               {ObjectResourceToText, resource.substr(0, resource.size() - 2)},
               {ObjectResourceToText, resource.substr(0, 12)},
               {ToResource, text.substr(0, 30)},
               {ToResource, binary.substr(0, binary.size() - 1)},
               {ToResource, resource.substr(0, 20)}};
    for (const auto& c : bad) {
      const std::string bytes = "junk" + c.input;
      TMemoryStream input = Input(bytes, view);
      input.Seek(4);
      TMemoryStream output(std::string("head"));
      output.Seek(4);
      const bool text = c.input.starts_with("object");
      try {
        c.convert(input, output);
        ADD_FAILURE() << "accepted: " << c.input;
      } catch (const EParserError&) {
        EXPECT_TRUE(text);
      } catch (const EReadError&) {
        EXPECT_FALSE(text);
      }
      EXPECT_EQ(input.Position(), 4u);
      EXPECT_EQ(output.Data(), "head");
      EXPECT_EQ(input.IsView(), view);
    }
  }
}

// A view reads the bytes where they lie until it is written to; then it owns a copy, and the
// bytes it viewed stay as they were.
TEST(MemoryStream, ViewCopiesItsBytesOnlyWhenWritten) {
  const std::string bytes = "abcdef";
  TMemoryStream view = TMemoryStream::View(bytes);
  EXPECT_TRUE(view.IsView());
  EXPECT_EQ(view.All().data(), bytes.data());
  char read[4] = {};
  view.Seek(2);
  EXPECT_EQ(view.Read(read, 10), 4u);
  EXPECT_EQ(std::string(read, 4), "cdef");
  EXPECT_EQ(view.Rest(), "");
  view.Seek(0);
  view.Write(view.All().substr(3, 2));  // from the bytes it views
  EXPECT_FALSE(view.IsView());
  EXPECT_EQ(view.Data(), "decdef");
  EXPECT_EQ(view.Position(), 2u);
  view.Seek(6);
  view.Write("gh");
  EXPECT_EQ(view.Data(), "decdefgh");
  EXPECT_EQ(bytes, "abcdef");
  // An empty view is an empty stream of its own.
  TMemoryStream empty = TMemoryStream::View({});
  EXPECT_EQ(empty.Size(), 0u);
  EXPECT_FALSE(empty.IsView());
}

}  // namespace
}  // namespace vaq
