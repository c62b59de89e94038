#include "support/form_generator.h"

#include <algorithm>
#include <bit>
#include <cctype>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <span>
#include <unordered_map>
#include <vector>

#include "host/core/conversions.h"
#include "host/core/locale.h"

namespace vaq::testing {
namespace {

bool IsInteger32Kind(TValueType kind) {
  return kind == TValueType::vaInt8 || kind == TValueType::vaInt16 || kind == TValueType::vaInt32;
}

// Reads in stream order and writes back what it read. Nested values recurse, so the depth is
// bounded here too: arbitrary input must not exhaust the stack.
class FormWalker {
 public:
  FormWalker(TMemoryStream& stream, WalkMode mode, std::size_t bufferSize)
      : stream_(stream), reader_(stream, bufferSize), skip_(mode == WalkMode::Skip) {}

  std::string Walk() {
    reader_.ReadResHeader();
    reader_.ReadSignature();
    out_.WriteSignature();
    Component(1);
    return std::move(out_.Data());
  }

 private:
  static void CheckDepth(int depth) {
    if (depth > kMaxFormNesting) {
      throw EReadError("Nesting deeper than " + std::to_string(kMaxFormNesting) + " levels");
    }
  }

  void Component(int depth) {
    CheckDepth(depth);
    std::uint8_t flags = 0;
    std::int32_t childPos = -1;
    reader_.ReadPrefix(flags, childPos);
    const std::string className = reader_.ReadStr();
    out_.WriteComponentHeader(flags, childPos, className, reader_.ReadStr());
    Properties(depth, skip_);
    while (!reader_.EndOfList()) Component(depth + 1);
    End();
  }

  // Properties up to and including the 0 that ends them.
  void Properties(int depth, bool skip) {
    while (!reader_.EndOfList()) {
      out_.WriteStr(reader_.ReadStr());
      if (!skip) {
        Value(depth);
        continue;
      }
      const std::size_t start = reader_.Position();
      reader_.SkipValue();
      out_.WriteRaw(stream_.Data().data() + start, reader_.Position() - start);
    }
    End();
  }

  void End() {
    reader_.ReadListEnd();
    out_.WriteListEnd();
  }

  void Value(int depth) {
    const TValueType kind = reader_.NextValue();
    switch (kind) {
      case TValueType::vaList:
      case TValueType::vaCollection:
        CheckDepth(depth + 1);
        out_.WriteValue(reader_.ReadValue());
        while (!reader_.EndOfList()) {
          if (kind == TValueType::vaList) {
            Value(depth + 1);
            continue;
          }
          if (IsInteger32Kind(reader_.NextValue())) out_.WriteInteger(reader_.ReadInteger());
          reader_.CheckValue(TValueType::vaList);
          out_.WriteValue(TValueType::vaList);
          Properties(depth + 1, false);
        }
        End();
        break;
      case TValueType::vaInt8:
      case TValueType::vaInt16:
      case TValueType::vaInt32:
      case TValueType::vaInt64:
        out_.WriteInteger(reader_.ReadInt64());
        break;
      case TValueType::vaExtended:
        out_.WriteFloat(reader_.ReadFloat());
        break;
      case TValueType::vaSingle:
        out_.WriteSingle(reader_.ReadSingle());
        break;
      case TValueType::vaDate:
        out_.WriteDate(reader_.ReadDate());
        break;
      case TValueType::vaCurrency:
        out_.WriteCurrency(reader_.ReadCurrency());
        break;
      case TValueType::vaString:
      case TValueType::vaLString:
        out_.WriteString(reader_.ReadString());
        break;
      case TValueType::vaWString:
        out_.WriteWideString(reader_.ReadWideString());
        break;
      case TValueType::vaUTF8String:
        out_.WriteUtf8String(Utf16ToUtf8(reader_.ReadWideString()));
        break;
      case TValueType::vaBinary:
        out_.WriteBinary(reader_.ReadBinary());
        break;
      case TValueType::vaSet:
        out_.WriteValue(reader_.ReadValue());
        for (std::string name = reader_.ReadStr();; name = reader_.ReadStr()) {
          out_.WriteStr(name);
          if (name.empty()) break;
        }
        break;
      default:  // identifiers, False, True, nil, Null
        out_.WriteIdent(reader_.ReadIdent());
        break;
    }
  }

  TMemoryStream& stream_;
  TFormReader reader_;
  bool skip_;
  TFormWriter out_;
};

}  // namespace

std::string WalkFormBinary(TMemoryStream& Stream, WalkMode Mode, std::size_t BufferSize) {
  return FormWalker(Stream, Mode, BufferSize).Walk();
}

namespace {

// Bounded draws from the engine's raw output: the standard distributions differ between
// standard libraries, and the forms must not.
class Random {
 public:
  explicit Random(std::uint64_t seed) : engine_(seed) {}
  std::uint64_t Next() { return engine_(); }
  std::uint64_t Below(std::uint64_t n) { return engine_() % n; }
  bool Chance(unsigned percent) { return Below(100) < percent; }
  std::int64_t Between(std::int64_t low, std::int64_t high) {
    return low + static_cast<std::int64_t>(Below(static_cast<std::uint64_t>(high - low) + 1));
  }
  template <typename T, std::size_t N>
  const T& Pick(const T (&items)[N]) {
    return items[Below(N)];
  }

 private:
  std::mt19937_64 engine_;
};

using Names = std::span<const std::string_view>;

constexpr std::string_view kWords[] = {
    "the",   "order", "customer", "total", "amount", "please",   "enter",   "a",     "valid",  "date",
    "file",  "could", "not",      "be",    "opened", "save",     "changes", "to",    "name",   "report",
    "print", "for",   "all",      "items", "record", "is",       "locked",  "by",    "delete", "this",
    "don't", "it's",  "o'clock",  "50%",   "(EUR)",  "C:\\Data", "e-mail",  "&Next", "<none>", "x=y+1"};
constexpr std::string_view kCaptions[] = {
    "OK",          "Cancel",    "&Help",      "&File",   "&Open...",    "Save &As...",      "E&xit",
    "Don't save",  "It's here", "Name:",      "&Apply",  "Search for:", "Customer's order", "100%",
    "Total (EUR)", "Options",   "Details >>", "Refresh", "Close"};
// Text in code page 1252 with bytes from 128 up (octal escapes where a letter follows).
constexpr std::string_view kAccented[] = {
    "Gr\366\337e",    "Caf\xE9",        "Se\xF1or",       "\334bersicht", "na\xEFve", "\x80 5,00",
    "\305ngstr\xF6m", "\xA9 2024 \xAE", "\xBD \xBC \xBE", "r\xE9sum\xE9", "\x80 0,00"};
constexpr std::string_view kFontNames[] = {"Tahoma", "MS Sans Serif", "Segoe UI", "Arial", "Courier New"};
constexpr std::string_view kColors[] = {"clBtnFace",   "clWindow", "clWindowText", "clRed",   "clNavy",
                                        "clHighlight", "clInfoBk", "clGrayText",   "clWhite", "clBlack"};
constexpr std::string_view kAligns[] = {"alClient", "alTop", "alBottom", "alLeft", "alRight", "alNone"};
constexpr std::string_view kRefs[] = {"Edit1", "actSave", "PopupMenu1", "dmMain.dsOrders",
                                      "DataModule1.tblCustomers.CUSTNO"};
constexpr std::string_view kFieldNames[] = {"CUSTNO", "COMPANY", "CITY", "ORDERNO", "SALEDATE", "AMOUNTPAID"};
constexpr std::string_view kReservedWords[] = {"True", "False", "nil", "Null",
                                               "TRUE", "false", "NIL", "null"};
constexpr std::string_view kFontStyles[] = {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"};
constexpr std::string_view kAnchors[] = {"akLeft", "akTop", "akRight", "akBottom"};
constexpr std::string_view kGridOptions[] = {"goFixedVertLine", "goFixedHorzLine", "goVertLine",
                                             "goHorzLine",      "goRangeSelect",   "goEditing",
                                             "goTabs",          "goRowSelect"};
constexpr std::string_view kBorderIcons[] = {"biSystemMenu", "biMinimize", "biMaximize"};

// Properties, written as "Name:code" separated by blanks; "?" in front: one time in four; a code
// without a name: a group of properties. Codes: t text (8-bit or wide), q 8-bit text, i small
// integer, h integer up to 70000, I any integer, b boolean, e extended, s single, d date,
// c currency, B binary data, k color, a alignment, r reference, w True/False/nil/Null in any
// letter case, n font name, f field name, =X the identifier X, [S [A [G [I sets of font styles,
// anchors, grid options, border icons, L strings, N integers, M a mixed list nested up to 3
// deep, C a collection (Cn: nested up to n deep), v any value; X the properties of a control,
// F those of a font.
constexpr std::string_view kControl =
    "Left:i Top:i Width:i Height:i ?Anchors:[A ?Hint:t ?ShowHint:=True ?Color:k ?F ?Visible:b ?Tag:I "
    "?PopupMenu:r ?TabOrder:i";
constexpr std::string_view kFont =
    "ParentFont:=False Font.Charset:=DEFAULT_CHARSET Font.Color:k Font.Height:i Font.Name:n Font.Style:[S";
constexpr std::string_view kRoot =
    "Left:i Top:i BorderIcons:[I Caption:t ClientHeight:i ClientWidth:i Color:k F OldCreateOrder:=False "
    "Position:=poScreenCenter OnCreate:=FormCreate PixelsPerInch:i TextHeight:i";
// Item properties: the first is always the first of these; the last two only while nesting is left.
constexpr std::string_view kItemProperties[] = {
    "Caption:t",           "Width:i",   "FieldName:f", "Alignment:=taCenter",
    "Title.Font.Style:[S", "Visible:b", "Value:v",  // nested:
    "PickList.Strings:L",  "Columns:C"};

// A class, how often it is picked, its children ("" none, "*" any class, else that class) and
// its properties.
struct ClassInfo {
  std::string_view Class, Stem;
  unsigned Weight;
  std::string_view Children, Properties;
};

constexpr ClassInfo kClasses[] = {
    {"TPanel", "Panel", 10, "*", "X ?Align:a BevelOuter:=bvNone Caption:q"},
    {"TGroupBox", "GroupBox", 5, "*", "X Caption:t"},
    {"TPageControl", "PageControl", 3, "TTabSheet", "X ActivePage:=TabSheet1"},
    {"TScrollBox", "ScrollBox", 2, "*", "X VertScrollBar.Range:h"},
    {"TFrame2", "Frame", 2, "*", "X"},  // inline unless inherited
    {"TMainMenu", "MainMenu", 1, "TMenuItem", "Left:i Top:i"},
    {"TButton", "Button", 10, "", "X Caption:t ?ModalResult:i ?Default:=True OnClick:=ButtonClick"},
    {"TLabel", "Label", 16, "", "X Caption:t ?WordWrap:=True ?FocusControl:r"},
    {"TEdit", "Edit", 10, "", "X ?MaxLength:i ?PasswordChar:q Text:t"},
    {"TMemo", "Memo", 3, "", "X Lines.Strings:L ScrollBars:=ssBoth"},
    {"TListBox", "ListBox", 3, "", "X ItemHeight:i Items.Strings:L"},
    {"TComboBox", "ComboBox", 4, "", "X ItemHeight:i Items.Strings:L ItemIndex:i"},
    {"TCheckBox", "CheckBox", 5, "", "X Caption:t Checked:b"},
    {"TRadioGroup", "RadioGroup", 2, "", "X Caption:t Columns:i Items.Strings:L ItemIndex:i"},
    {"TImage", "Image", 2, "", "X Picture.Data:B ?Stretch:=True"},
    {"TStringGrid", "StringGrid", 2, "", "X ColCount:i RowCount:i Options:[G ColWidths:N ?RowHeights:N"},
    {"TListView", "ListView", 2, "", "X Columns:C1 ?Items.Data:B ViewStyle:=vsReport"},
    {"TStatusBar", "StatusBar", 1, "", "X Panels:C1 SimplePanel:=False"},
    {"TDBGrid", "DBGrid", 2, "", "X DataSource:r Columns:C2"},
    {"TTreeGrid", "TreeGrid", 1, "", "X Header.Columns:C3 Data:M"},
    {"TTimer", "Timer", 1, "", "Left:i Top:i Interval:h OnTimer:=TimerTick"},
    {"TDateTimePicker", "DateTimePicker", 2, "", "X Date:d Time:d"},
    {"TCurrencyEdit", "CurrencyEdit", 2, "", "X Value:c MaxValue:c DisplayFormat:q"},
    {"TGauge", "Gauge", 2, "", "X Scale:e Opacity:s Ratio:e Tag:I Params:w"},
};
constexpr ClassInfo kTabSheet{"TTabSheet", "TabSheet", 0, "*", "Caption:t ?ImageIndex:i"};
constexpr ClassInfo kMenuItem{"TMenuItem", "MenuItem", 0, "TMenuItem",
                              "Caption:t ?ShortCut:h ?OnClick:=Click"};

// One character of a string before it is written: quoted (printable) or a "#" code.
struct StringAtom {
  bool Quoted;
  std::uint16_t Value;
};

// Writes one form, and the binary form it must give, in one pass. Every value is chosen first,
// then written in text and in binary as the parser must store it.
class FormTextGenerator {
 public:
  explicit FormTextGenerator(const FormOptions& options) : random_(options.Seed), options_(options) {
    eol_ = options_.Variations && random_.Chance(20) ? "\n" : "\r\n";
    maxBinary_ = std::max<std::size_t>(64, std::min<std::size_t>(8192, options_.TargetBytes / 4));
    // Quoted bytes from 128 up inside wide strings go through the thread locale's code page; they
    // are used only with single-byte code pages, where each byte is one character.
    const TLCID lcid = VaqGetThreadLocale();
    const unsigned codePage = LCIDToCodePage(lcid);
    if (codePage == 874 || (codePage >= 1250 && codePage <= 1258)) {
      for (int b = 0xC0; b <= 0xFF; ++b) {
        const std::u16string wide = StringToWideString(lcid, std::string(1, static_cast<char>(b)));
        if (wide.size() == 1 && wide[0] != u'?') byteUnits_[b] = wide[0];
      }
    }
  }

  GeneratedForm Run() {
    form_.Text.reserve(options_.TargetBytes + options_.TargetBytes / 8 + 1024);
    form_.Binary = "TPF0";
    const bool inheritedRoot = random_.Chance(15);
    static constexpr std::string_view kRoots[][2] = {{"Form1", "TForm1"},
                                                     {"MainForm", "TMainForm"},
                                                     {"dlgOptions", "TdlgOptions"},
                                                     {"frmOrders", "TfrmOrders"}};
    const auto& root = kRoots[random_.Below(std::size(kRoots))];
    Header(0, inheritedRoot ? ffInherited : 0, -1, root[0], root[1]);
    Properties(1, options_.TargetBytes < 1000 ? "Left:i Top:i" : kRoot, 0);
    bin_ += '\0';
    while (out_.size() < options_.TargetBytes) {
      const auto chunk = static_cast<std::size_t>(random_.Between(1000, 40000));
      const std::size_t budgetEnd = std::min(options_.TargetBytes, out_.size() + chunk);
      Child(1, inheritedRoot, static_cast<int>(random_.Between(1, 6)), budgetEnd, PickClass());
    }
    End(0);
    return std::move(form_);
  }

 private:
  // --- binary form ----------------------------------------------------------------------------

  void Kind(TValueType kind) {
    bin_ += static_cast<char>(kind);
    ++form_.Kinds[static_cast<std::size_t>(kind)];
  }
  void LittleEndian(std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) bin_ += static_cast<char>((value >> (8 * i)) & 0xFF);
  }
  void ShortString(std::string_view text) {
    bin_ += static_cast<char>(text.size());
    bin_ += text;
  }

  // --- layout ---------------------------------------------------------------------------------

  bool Messy(unsigned percent) { return options_.Variations && random_.Chance(percent); }

  void Eol() {
    if (Messy(2)) out_ += random_.Chance(50) ? " " : "\t ";
    out_ += eol_;
    if (Messy(1)) out_ += eol_;
  }

  void Indent(int level) {
    if (Messy(2)) {
      out_.append(static_cast<std::size_t>(random_.Below(4)), '\t');
    } else {
      out_.append(static_cast<std::size_t>(2 * level), ' ');
    }
  }

  void Keyword(std::string_view word) {
    const bool odd = Messy(3);
    const bool upper = odd && random_.Chance(50);
    for (std::size_t i = 0; i < word.size(); ++i) {
      const bool up = odd && (upper || i == 0);
      out_ += static_cast<char>(up ? std::toupper(static_cast<unsigned char>(word[i])) : word[i]);
    }
  }

  void AppendInt(std::int64_t value) {
    char buffer[24];
    out_.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
  }

  void Header(int level, std::uint8_t flags, std::int32_t childPos, std::string_view name,
              std::string_view className) {
    Indent(level);
    Keyword((flags & ffInherited) ? "inherited" : (flags & ffInline) ? "inline" : "object");
    out_ += ' ';
    if (!name.empty()) {
      out_ += name;
      out_ += Messy(5) ? (random_.Chance(50) ? ":" : " : ") : ": ";
    }
    out_ += className;
    if (flags != 0) bin_ += static_cast<char>(0xF0 | flags);
    if (flags & ffChildPos) {
      out_ += Messy(5) ? "[" : " [";
      Int(childPos);
      out_ += ']';
    }
    ShortString(className);
    ShortString(name);
    Eol();
  }

  void End(int level) {
    Indent(level);
    Keyword("end");
    Eol();
    bin_ += '\0';
  }

  // --- scalar values --------------------------------------------------------------------------

  void Int(std::int64_t value) {
    const int bytes = value == static_cast<std::int8_t>(value)    ? 1
                      : value == static_cast<std::int16_t>(value) ? 2
                      : value == static_cast<std::int32_t>(value) ? 4
                                                                  : 8;
    Kind(bytes == 1   ? TValueType::vaInt8
         : bytes == 2 ? TValueType::vaInt16
         : bytes == 4 ? TValueType::vaInt32
                      : TValueType::vaInt64);
    LittleEndian(static_cast<std::uint64_t>(value), bytes);
    if (value >= 0 && Messy(10)) {
      char buffer[20];
      const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, 16);
      out_ += random_.Chance(30) ? "$00" : "$";
      const bool upper = random_.Chance(70);
      for (const char* p = buffer; p != result.ptr; ++p) {
        out_ += static_cast<char>(upper ? std::toupper(static_cast<unsigned char>(*p)) : *p);
      }
      return;
    }
    AppendInt(value);
  }

  std::int64_t RandomInt() {
    static constexpr std::int64_t kEdges[] = {
        INT64_MIN, -2147483649LL, INT32_MIN, -32769, -32768, -129,  -128,      -1,           0,
        127,       128,           255,       32767,  32768,  65535, INT32_MAX, 2147483648LL, INT64_MAX};
    switch (random_.Below(6)) {
      case 0:
        return random_.Pick(kEdges);
      case 1:
        return random_.Between(-128, 127);
      case 2:
        return random_.Between(-32768, 32767);
      case 3:
        return random_.Between(std::numeric_limits<std::int32_t>::min(),
                               std::numeric_limits<std::int32_t>::max());
      case 4:
        return static_cast<std::int64_t>(random_.Next());
      default:
        return random_.Between(0, 1000);
    }
  }

  void Extended(long double value) {
    Kind(TValueType::vaExtended);
    char bytes[sizeof(long double)] = {};
    std::memcpy(bytes, &value, sizeof value);
    bin_.append(bytes, 10);  // the 80-bit format, without the padding of long double
    // Quarters are exact in every notation, so they may be written in other ways too.
    const long double quarters = value * 4;
    if (Messy(20) && std::fabs(value) < 1000 && quarters == std::nearbyint(quarters) &&
        !std::signbit(value)) {
      const auto whole = static_cast<std::int64_t>(value);
      const auto hundredths = static_cast<std::int64_t>((value - static_cast<long double>(whole)) * 100);
      switch (random_.Below(3)) {
        case 0:  // 1.50
          AppendInt(whole);
          out_ += hundredths < 10 ? ".0" : ".";
          AppendInt(hundredths);
          out_ += '0';
          return;
        case 1:  // 150E-2
          AppendInt(whole * 100 + hundredths);
          out_ += "E-2";
          return;
        default:  // 1.5e+000
          out_ += VaqFloatToStr(value);
          out_ += "e+000";
          return;
      }
    }
    out_ += VaqFloatToStr(value);
  }

  long double RandomExtended() {
    static constexpr long double kEdges[] = {LDBL_MAX, -LDBL_MAX, LDBL_MIN, LDBL_TRUE_MIN, -0.0L,
                                             0.0L,     1e20L,     1e-20L,   0.1L,          1.0L / 3};
    switch (random_.Below(5)) {
      case 0:
        return random_.Pick(kEdges);
      case 1: {  // any finite value: a full 64-bit mantissa and an exponent across the range
        const long double mantissa = std::ldexp(static_cast<long double>(random_.Next() | (1ULL << 63)), -64);
        const long double value = std::ldexp(mantissa, static_cast<int>(random_.Between(-16440, 16383)));
        return random_.Chance(50) ? -value : value;
      }
      case 2:
        return static_cast<long double>(random_.Between(-4000, 4000)) / 4;
      case 3:
        return static_cast<long double>(random_.Between(-100000, 100000)) / 1000;
      default:
        return static_cast<long double>(random_.Between(0, 4000)) / 4;
    }
  }

  void Single(float value) {
    Kind(TValueType::vaSingle);
    LittleEndian(std::bit_cast<std::uint32_t>(value), 4);
    out_ += VaqFloatToStr(value);
    out_ += 's';
  }

  float RandomSingle() {
    static constexpr float kEdges[] = {FLT_MAX, FLT_MIN, FLT_TRUE_MIN, -0.0f, 0.1f, 16777217.0f};
    switch (random_.Below(4)) {
      case 0: {
        const float value = std::bit_cast<float>(static_cast<std::uint32_t>(random_.Next()));
        return std::isfinite(value) ? value : 1.0f;
      }
      case 1:
        return random_.Pick(kEdges);
      default:
        return static_cast<float>(random_.Between(0, 100)) / 100;
    }
  }

  void Date(double value) {
    Kind(TValueType::vaDate);
    LittleEndian(std::bit_cast<std::uint64_t>(value), 8);
    out_ += VaqFloatToStr(value);
    out_ += 'd';
  }

  double RandomDate() {
    switch (random_.Below(4)) {
      case 0: {
        const double value = std::bit_cast<double>(random_.Next());
        return std::isfinite(value) ? value : 0.0;
      }
      case 1:
        return static_cast<double>(random_.Between(36526, 50000));
      case 2:
        return static_cast<double>(random_.Between(0, 86399)) / 86400;
      default:
        return static_cast<double>(random_.Between(36526, 50000)) +
               static_cast<double>(random_.Between(0, 86399999)) / 86400000;
    }
  }

  // The stored value: currency x 10000.
  void Currency(std::int64_t stored) {
    Kind(TValueType::vaCurrency);
    LittleEndian(static_cast<std::uint64_t>(stored), 8);
    AppendInt(stored);
    out_ += 'c';
  }

  std::int64_t RandomCurrency() {
    static constexpr std::int64_t kEdges[] = {INT64_MIN,       INT64_MAX,       0, 1, -1,
                                              (1LL << 53) + 1, -(1LL << 53) - 1};
    switch (random_.Below(5)) {
      case 0:
        return random_.Pick(kEdges);
      case 1:
        return static_cast<std::int64_t>(random_.Next());
      default:
        return random_.Between(-100000000, 100000000) * 100;
    }
  }

  void Ident(std::string_view name) {
    static constexpr std::pair<std::string_view, TValueType> kReserved[] = {{"true", TValueType::vaTrue},
                                                                            {"false", TValueType::vaFalse},
                                                                            {"nil", TValueType::vaNil},
                                                                            {"null", TValueType::vaNull}};
    const auto reserved = std::ranges::find_if(kReserved, [&](const auto& entry) {
      return std::ranges::equal(name, entry.first, [](char a, char b) { return (a | 0x20) == b; });
    });
    if (reserved != std::end(kReserved)) {
      Kind(reserved->second);
    } else {
      Kind(TValueType::vaIdent);
      ShortString(name);
    }
    out_ += name;
  }

  void Set(Names pool) {
    Kind(TValueType::vaSet);
    out_ += '[';
    bool first = true;
    for (std::string_view name : pool) {
      if (!random_.Chance(40)) continue;
      if (!first) out_ += Messy(10) ? "," : ", ";
      first = false;
      out_ += name;
      ShortString(name);
    }
    out_ += ']';
    bin_ += '\0';
  }

  // --- strings --------------------------------------------------------------------------------

  // Writes the atoms as quoted runs and "#" codes, split into pieces joined by "+" the way the
  // formatter splits long strings (64 characters a line, continued one level deeper) or, in
  // variations, at other widths, with "+" at the start of the next line or within one line.
  void WriteAtoms(int level) {
    if (atoms_.empty()) {
      out_ += "''";
      return;
    }
    std::size_t width = 64;
    if (Messy(30)) {
      width = random_.Chance(30) ? std::numeric_limits<std::size_t>::max()
                                 : static_cast<std::size_t>(random_.Between(1, 200));
    }
    const int style = Messy(20) ? static_cast<int>(random_.Below(3)) : 0;
    bool open = false;
    std::size_t onLine = 0;
    for (const StringAtom atom : atoms_) {
      if (onLine >= width) {
        if (open) out_ += '\'';
        open = false;
        if (style == 2) {
          out_ += " + ";
        } else {
          out_ += style == 0 ? " +" : "";
          out_ += eol_;
          Indent(level + 1);
          out_ += style == 1 ? "+ " : "";
        }
        onLine = 0;
      }
      if (atom.Quoted) {
        if (!open) out_ += '\'';
        open = true;
        if (atom.Value == '\'') out_ += '\'';
        out_ += static_cast<char>(atom.Value);
      } else {
        if (open) out_ += '\'';
        open = false;
        out_ += '#';
        if (Messy(5)) {
          char buffer[8];
          out_ += '$';
          out_.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, atom.Value, 16).ptr);
        } else {
          AppendInt(atom.Value);
        }
      }
      ++onLine;
    }
    if (open) out_ += '\'';
  }

  void String8(int level, std::string_view bytes) {
    if (bytes.size() <= 255) {
      Kind(TValueType::vaString);
      LittleEndian(bytes.size(), 1);
    } else {
      Kind(TValueType::vaLString);
      LittleEndian(bytes.size(), 4);
    }
    bin_ += bytes;
    atoms_.clear();
    for (unsigned char b : bytes) atoms_.push_back({b >= 32 && !(b >= 128 && Messy(10)), b});
    WriteAtoms(level);
  }

  void AppendWords(std::string& text, std::int64_t length) {
    while (text.size() < static_cast<std::size_t>(length)) {
      if (!text.empty()) text += ' ';
      text += random_.Pick(kWords);
    }
  }

  std::string RandomText() {
    std::string text;
    switch (random_.Below(10)) {
      case 0:
        return std::string(random_.Pick(kAccented));
      case 1:
        return std::string(random_.Pick(kCaptions)) + "\r\n" + std::string(random_.Pick(kAccented));
      case 2:
        AppendWords(text, random_.Chance(30) ? random_.Between(256, 1200) : random_.Between(1, 250));
        return text;
      case 3:
        return std::string(random_.Pick(kCaptions)) + '\t' + static_cast<char>(random_.Between(0, 31)) +
               '\x7F';
      case 4:
        return text;
      default:
        return std::string(random_.Pick(kCaptions));
    }
  }

  // A string with a code above 255, so that it stays wide, mixed with quoted ASCII and, with a
  // single-byte code page, quoted bytes from 0xC0 up.
  void WideText(int level) {
    atoms_.clear();
    std::u16string units;
    const auto quoted = [&](std::string_view text) {
      for (unsigned char c : text) {
        atoms_.push_back({true, c});
        units += static_cast<char16_t>(c);
      }
    };
    const auto code = [&](std::int64_t unit) {
      atoms_.push_back({false, static_cast<std::uint16_t>(unit)});
      units += static_cast<char16_t>(unit);
    };
    const auto script = [&](std::int64_t first, std::int64_t last, std::int64_t count) {
      for (std::int64_t i = 0; i < count; ++i) code(random_.Between(first, last));
    };
    const std::int64_t repeat = random_.Chance(10) ? random_.Between(10, 60) : 1;
    for (std::int64_t r = 0; r < repeat; ++r) {
      switch (random_.Below(8)) {
        case 0:  // Cyrillic
          script(0x410, 0x44F, random_.Between(1, 12));
          break;
        case 1:  // Greek
          quoted(random_.Pick(kCaptions));
          quoted(" ");
          script(0x391, 0x3C9, random_.Between(1, 8));
          break;
        case 2:  // CJK
          script(0x4E00, 0x9FFF, random_.Between(1, 6));
          break;
        case 3:  // a surrogate pair
          quoted("Smile ");
          code(0xD83D);
          script(0xDE00, 0xDE4F, 1);
          break;
        case 4:
          quoted("Price: ");
          code(0x20AC);
          quoted(" 5'00");
          code(13);
          code(10);
          break;
        case 5:  // code units 128..255 must stay code units, not go through the code page
          script(128, 159, 1);
          script(160, 255, 1);
          code(0x5D0);
          break;
        case 6: {
          bool any = false;
          for (int i = 0; i < 4; ++i) {
            const auto b = static_cast<std::size_t>(random_.Between(0xC0, 0xFF));
            if (byteUnits_[b] == 0) continue;
            atoms_.push_back({true, static_cast<std::uint16_t>(b)});
            units += byteUnits_[b];
            any = true;
          }
          if (!any) quoted("ascii");
          code(0x416);
          break;
        }
        default:
          quoted(random_.Pick(kWords));
          code(0x2026);
          break;
      }
    }
    Kind(TValueType::vaWString);
    LittleEndian(units.size(), 4);
    for (const char16_t unit : units) LittleEndian(unit, 2);
    WriteAtoms(level);
  }

  void Text(int level) {
    if (random_.Chance(7)) {
      WideText(level);
    } else {
      String8(level, RandomText());
    }
  }

  // --- structured values ----------------------------------------------------------------------

  void Binary(int level, std::size_t size) {
    std::string bytes;
    if (size >= 8 && random_.Chance(50)) bytes.append("\x07TBitmap", 8);
    while (bytes.size() < size) {
      const std::uint64_t word = random_.Next();
      const bool zeros = random_.Chance(20);
      for (int i = 0; i < 8 && bytes.size() < size; ++i) {
        bytes.push_back(zeros ? '\0' : static_cast<char>(word >> (8 * i)));
      }
    }
    Kind(TValueType::vaBinary);
    LittleEndian(bytes.size(), 4);
    bin_ += bytes;
    out_ += '{';
    std::size_t perLine = 32;
    bool lower = false;
    bool spaced = false;
    if (Messy(20)) {
      perLine = static_cast<std::size_t>(random_.Between(1, 48));
      lower = random_.Chance(50);
      spaced = random_.Chance(50);
    }
    const char* digits = lower ? "0123456789abcdef" : "0123456789ABCDEF";
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      if (i % perLine == 0) {
        out_ += eol_;
        Indent(level + 1);
      } else if (spaced) {
        out_ += ' ';
      }
      const auto b = static_cast<unsigned char>(bytes[i]);
      out_ += digits[b >> 4];
      out_ += digits[b & 15];
    }
    out_ += '}';
  }

  std::size_t RandomBinarySize() {
    const auto most = static_cast<std::int64_t>(maxBinary_);
    switch (random_.Below(6)) {
      case 0:
        return 0;
      case 1:
        return static_cast<std::size_t>(random_.Between(1, 100));
      case 2:
        return static_cast<std::size_t>(random_.Between(std::min<std::int64_t>(2048, most), most));
      default:
        return static_cast<std::size_t>(
            random_.Between(std::min<std::int64_t>(100, most), std::min<std::int64_t>(1500, most)));
    }
  }

  // Elements one per line one level deeper (several a line in variations), ")" after the last.
  // kind: 'L' strings, 'N' integers, 'M' any values.
  void List(int level, char kind, std::int64_t count, int nestingLeft) {
    Kind(TValueType::vaList);
    out_ += '(';
    const bool packed = Messy(10);
    for (std::int64_t i = 0; i < count; ++i) {
      if (packed && i > 0 && random_.Chance(70)) {
        out_ += ' ';
      } else {
        out_ += eol_;
        Indent(level + 1);
      }
      if (kind == 'L') {
        Text(level + 1);
      } else if (kind == 'N') {
        Int(random_.Between(0, 400));
      } else {
        AnyValue(level + 1, nestingLeft - 1, true);
      }
    }
    out_ += ')';
    bin_ += '\0';
  }

  // Any value; lists and collections while nesting is left.
  void AnyValue(int level, int nestingLeft, bool listElement) {
    switch (random_.Below(nestingLeft > 0 ? 13 : 11)) {
      case 0:
        return Int(RandomInt());
      case 1:
        return Extended(RandomExtended());
      case 2:
        return Single(RandomSingle());
      case 3:
        return Date(RandomDate());
      case 4:
        return Currency(RandomCurrency());
      case 5: {
        std::string_view name = random_.Chance(50) ? random_.Pick(kReservedWords) : random_.Pick(kRefs);
        // Null is kind 0, the byte that ends a list, so no list can hold it.
        if (listElement && (name == "Null" || name == "null")) name = "nil";
        return Ident(name);
      }
      case 6:
        return Set(kFontStyles);
      case 7:
        return Binary(level, static_cast<std::size_t>(random_.Between(0, 40)));
      case 8:
        return WideText(level);
      case 9:
      case 10:
        return String8(level, RandomText());
      case 11:
        return List(level, 'M', random_.Between(0, 4), nestingLeft);
      default:
        return Collection(level, nestingLeft);
    }
  }

  // `item` blocks one level deeper, their properties deeper still, ">" after the last `end`.
  // Items may be empty, carry an index, and hold lists and collections of their own.
  void Collection(int level, int nestingLeft) {
    Kind(TValueType::vaCollection);
    out_ += '<';
    for (std::int64_t i = 0, count = random_.Between(0, 5); i < count; ++i) {
      out_ += eol_;
      Indent(level + 1);
      Keyword("item");
      if (random_.Chance(20)) {
        out_ += Messy(10) ? "[" : " [";
        // Readers take the index as a 32-bit integer.
        Int(random_.Chance(80) ? i : static_cast<std::int32_t>(random_.Next()));
        out_ += ']';
      }
      bin_ += '\x01';
      Eol();
      const std::int64_t properties = random_.Chance(10) ? 0 : random_.Between(1, 5);
      for (std::int64_t p = 0; p < properties; ++p) {
        const auto pick = p == 0 ? 0 : random_.Below(nestingLeft > 1 ? std::size(kItemProperties) : 7);
        Property(level + 2, kItemProperties[pick], nestingLeft - 1);
      }
      Indent(level + 1);
      Keyword("end");
      bin_ += '\0';
    }
    out_ += '>';
    bin_ += '\0';
  }

  // --- properties and components --------------------------------------------------------------

  void Properties(int level, std::string_view list, int nestingLeft) {
    while (!list.empty()) {
      const std::size_t blank = std::min(list.find(' '), list.size());
      Property(level, list.substr(0, blank), nestingLeft);
      list.remove_prefix(std::min(blank + 1, list.size()));
    }
  }

  void Property(int level, std::string_view property, int nestingLeft) {
    if (property.starts_with('?')) {
      if (!random_.Chance(25)) return;
      property.remove_prefix(1);
    }
    const std::size_t colon = property.find(':');
    if (colon == std::string_view::npos) return Properties(level, property == "X" ? kControl : kFont, 0);
    const std::string_view name = property.substr(0, colon);
    const std::string_view code = property.substr(colon + 1);
    Indent(level);
    out_ += name;
    static constexpr std::string_view kEquals[] = {"=", " =", "=  ", "\t=\t"};
    out_ += Messy(3) ? random_.Pick(kEquals) : " = ";
    ShortString(name);
    switch (code[0]) {
      // clang-format off
      case 't': Text(level); break;
      case 'q': String8(level, RandomText()); break;
      case 'i': Int(random_.Between(-1, 400)); break;
      case 'h': Int(random_.Between(0, 70000)); break;
      case 'I': Int(RandomInt()); break;
      case 'b': Ident(random_.Chance(50) ? "True" : "False"); break;
      case 'e': Extended(RandomExtended()); break;
      case 's': Single(RandomSingle()); break;
      case 'd': Date(RandomDate()); break;
      case 'c': Currency(RandomCurrency()); break;
      case 'B': Binary(level, RandomBinarySize()); break;
      case 'k': Ident(random_.Pick(kColors)); break;
      case 'a': Ident(random_.Pick(kAligns)); break;
      case 'r': Ident(random_.Pick(kRefs)); break;
      case 'w': Ident(random_.Pick(kReservedWords)); break;
      case 'n': String8(level, random_.Pick(kFontNames)); break;
      case 'f': String8(level, random_.Pick(kFieldNames)); break;
      case '=': Ident(code.substr(1)); break;
      case '[': Set(code[1] == 'S' ? Names(kFontStyles) : code[1] == 'A' ? Names(kAnchors)
                    : code[1] == 'G' ? Names(kGridOptions) : Names(kBorderIcons)); break;
      case 'L': List(level, 'L', random_.Between(0, 8), 0); break;
      case 'N': List(level, 'N', random_.Between(1, 8), 0); break;
      case 'M': List(level, 'M', random_.Between(0, 6), 3); break;
      case 'C': Collection(level, code.size() > 1 ? code[1] - '0' : nestingLeft); break;
      default: AnyValue(level, 0, false); break;
        // clang-format on
    }
    Eol();
  }

  std::string NewName(std::string_view stem) {
    std::string name(stem);
    name += std::to_string(++counters_[name]);
    return name;
  }

  const ClassInfo& PickClass() {
    static const unsigned kTotal = [] {
      unsigned total = 0;
      for (const ClassInfo& info : kClasses) total += info.Weight;
      return total;
    }();
    auto ticket = static_cast<unsigned>(random_.Below(kTotal));
    for (const ClassInfo& info : kClasses) {
      if (ticket < info.Weight) return info;
      ticket -= info.Weight;
    }
    return kClasses[0];
  }

  // One component with its subtree. In an inherited context (an inherited root or an inline
  // frame) components are inherited or new, and may carry a child position.
  void Child(int level, bool inheritedContext, int depthLeft, std::size_t budgetEnd, const ClassInfo& info) {
    std::uint8_t flags = inheritedContext && random_.Chance(50) ? ffInherited : 0;
    if (info.Stem == "Frame" && flags == 0) flags = ffInline;
    std::int32_t childPos = -1;
    if (random_.Chance(inheritedContext ? 25 : 3)) {
      flags |= ffChildPos;
      childPos = static_cast<std::int32_t>(random_.Chance(90) ? random_.Between(0, 200)
                                                              : random_.Between(-5, 100000));
    }
    const bool unnamed = flags == 0 && info.Children.empty() && random_.Chance(8);
    Header(level, flags, childPos, unnamed ? std::string() : NewName(info.Stem), info.Class);
    Properties(level + 1, info.Properties, 0);
    bin_ += '\0';
    if (!info.Children.empty() && depthLeft > 1) {
      const std::int64_t count = random_.Between(info.Children == "TMenuItem" ? 0 : 1, 6);
      for (std::int64_t i = 0; i < count && out_.size() < budgetEnd; ++i) {
        const ClassInfo& child = info.Children == "TTabSheet"   ? kTabSheet
                                 : info.Children == "TMenuItem" ? kMenuItem
                                                                : PickClass();
        Child(level + 1, inheritedContext || (flags & ffInline), depthLeft - 1, budgetEnd, child);
      }
    }
    End(level);
  }

  Random random_;
  FormOptions options_;
  std::string_view eol_;
  std::size_t maxBinary_;
  std::array<char16_t, 256> byteUnits_{};
  GeneratedForm form_;
  std::string& out_ = form_.Text;
  std::string& bin_ = form_.Binary;
  std::vector<StringAtom> atoms_;
  std::unordered_map<std::string, int> counters_;
};

}  // namespace

GeneratedForm GenerateForm(const FormOptions& Options) {
  return FormTextGenerator(Options).Run();
}

std::string GenerateFormText(std::uint64_t Seed, std::size_t TargetBytes) {
  return GenerateForm({.Seed = Seed, .TargetBytes = TargetBytes}).Text;
}

}  // namespace vaq::testing
