#include "framework/classes/class_registry.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <mutex>
#include <optional>
#include <ranges>
#include <stdexcept>
#include <unordered_set>

#include "framework/classes/catalogue_data.h"

namespace vaq::classes {

std::string FoldName(std::string_view Name) {
  std::string Folded(Name);
  for (char& C : Folded) C = static_cast<char>(std::tolower(static_cast<unsigned char>(C)));
  return Folded;
}

namespace {

constexpr std::size_t kGroupCount = 2;

struct TTypeDef {
  TTypeKind Kind = TTypeKind::tkUnknown;
  std::string Name;
  std::vector<std::string> Elements;
};

// A class as read, before parent, item class and class-typed properties are resolved.
struct TPendingClass {
  std::unique_ptr<TClassInfo> Info;
  std::string ParentName, ItemName;
  std::vector<std::string> PropTypes;  // parallel to Info->Properties
  int Line = 0;
};

struct TGroupWork {
  std::unordered_map<std::string, TTypeDef> Types;
  std::vector<TPendingClass> Classes;
  std::unordered_map<std::string, std::size_t> Index;
};

std::string_view Trim(std::string_view S) {
  const auto First = S.find_first_not_of(" \t\r");
  if (First == std::string_view::npos) return {};
  return S.substr(First, S.find_last_not_of(" \t\r") - First + 1);
}

std::vector<std::string_view> Split(std::string_view S, char Sep) {
  std::vector<std::string_view> Parts;
  for (auto Part : S | std::views::split(Sep))
    Parts.push_back(Trim(std::string_view(Part.begin(), Part.end())));
  return Parts;
}

std::vector<std::string_view> Words(std::string_view S) {
  std::vector<std::string_view> Result;
  for (auto W : Split(S, ' '))
    if (!W.empty()) Result.push_back(W);
  return Result;
}

// "A|B" names the native and the Qt-based variant; a plain name means both.
std::string_view PickVariant(std::string_view Name, std::size_t Group) {
  const auto Bar = Name.find('|');
  if (Bar == std::string_view::npos) return Name;
  return Group == 0 ? Name.substr(0, Bar) : Name.substr(Bar + 1);
}

std::optional<TTypeKind> ScalarKind(std::string_view Word) {
  static constexpr std::pair<std::string_view, TTypeKind> kKinds[] = {
      {"integer", TTypeKind::tkInteger}, {"int64", TTypeKind::tkInt64},     {"char", TTypeKind::tkChar},
      {"wchar", TTypeKind::tkWChar},     {"float", TTypeKind::tkFloat},     {"string", TTypeKind::tkString},
      {"lstring", TTypeKind::tkLString}, {"wstring", TTypeKind::tkWString}, {"variant", TTypeKind::tkVariant},
      {"method", TTypeKind::tkMethod}};
  for (const auto& [Name, Kind] : kKinds)
    if (Name == Word) return Kind;
  return std::nullopt;
}

[[noreturn]] void Fail(int Line, std::string_view Message) {
  throw std::invalid_argument("line " + std::to_string(Line) + ": " + std::string(Message));
}

// Reading the notation: line by line, each definition goes to every group named by the last
// "group" line. Names are resolved only at the end, so a class may refer to a later one.
class TCatalogueParser {
 public:
  TCatalogue Parse(std::string_view Text) {
    int LineNo = 0;
    for (auto Line : Text | std::views::split('\n')) {
      ++LineNo;
      ParseLine(std::string_view(Line.begin(), Line.end()), LineNo);
    }
    TCatalogue Result;
    for (std::size_t G = 0; G < kGroupCount; ++G) Resolve(Work[G], G, Result.Groups[G]);
    return Result;
  }

 private:
  std::array<TGroupWork, kGroupCount> Work;
  std::array<bool, kGroupCount> Active{true, true};
  std::array<TPendingClass*, kGroupCount> Current{};

  void ParseLine(std::string_view Raw, int LineNo) {
    const std::string_view Line = Trim(Raw);
    if (Line.empty() || Line.starts_with('#')) return;
    if (Raw.front() == ' ' || Raw.front() == '\t') return ParseProperties(Line, LineNo);
    std::fill(Current.begin(), Current.end(), nullptr);
    const auto Head = Line.substr(0, Line.find(' '));
    const auto Rest = Trim(Line.substr(Head.size()));
    if (Head == "group") {
      if (Rest == "both")
        Active = {true, true};
      else if (Rest == "native")
        Active = {true, false};
      else if (Rest == "qt")
        Active = {false, true};
      else
        Fail(LineNo, "unknown group");
    } else if (Head == "scalar" || Head == "enum" || Head == "set") {
      const auto Colon = Rest.find(':');
      if (Colon == std::string_view::npos) Fail(LineNo, "':' expected");
      const auto Names = Words(Rest.substr(Colon + 1));
      if (Head == "scalar") {
        const auto Kind = ScalarKind(Trim(Rest.substr(0, Colon)));
        if (!Kind) Fail(LineNo, "unknown kind");
        for (auto Name : Names) AddType(TTypeDef{*Kind, std::string(Name), {}}, LineNo);
      } else {
        TTypeDef Def{Head == "enum" ? TTypeKind::tkEnumeration : TTypeKind::tkSet,
                     std::string(Trim(Rest.substr(0, Colon))),
                     {Names.begin(), Names.end()}};
        AddType(std::move(Def), LineNo);
      }
    } else if (Head == "class") {
      ParseClass(Rest, LineNo);
    } else {
      Fail(LineNo, "unknown definition");
    }
  }

  void AddType(TTypeDef Def, int LineNo) {
    for (std::size_t G = 0; G < kGroupCount; ++G)
      if (Active[G] && !Work[G].Types.emplace(FoldName(Def.Name), Def).second)
        Fail(LineNo, "type defined twice: " + Def.Name);
  }

  // class Name [: Parent] [registered] [items ItemClass]
  void ParseClass(std::string_view Rest, int LineNo) {
    const auto W = Words(Rest);
    if (W.empty()) Fail(LineNo, "class name expected");
    std::string_view Parent, Item;
    bool Registered = false;
    for (std::size_t I = 1; I < W.size(); ++I) {
      if (W[I] == ":" && I + 1 < W.size())
        Parent = W[++I];
      else if (W[I] == "registered")
        Registered = true;
      else if (W[I] == "items" && I + 1 < W.size())
        Item = W[++I];
      else
        Fail(LineNo, "unexpected '" + std::string(W[I]) + "'");
    }
    for (std::size_t G = 0; G < kGroupCount; ++G) {
      if (!Active[G]) continue;
      auto& Group = Work[G];
      TPendingClass Pending{
          std::make_unique<TClassInfo>(), std::string(PickVariant(Parent, G)), std::string(Item), {}, LineNo};
      Pending.Info->Name = std::string(W[0]);
      Pending.Info->RegisteredComponent = Registered;
      if (!Group.Index.emplace(FoldName(W[0]), Group.Classes.size()).second)
        Fail(LineNo, "class defined twice: " + std::string(W[0]));
      Group.Classes.push_back(std::move(Pending));
      Current[G] = &Group.Classes.back();
    }
  }

  // Prop, Prop: Type; Prop: Type
  void ParseProperties(std::string_view Line, int LineNo) {
    for (auto Decl : Split(Line, ';')) {
      const auto Colon = Decl.find(':');
      if (Colon == std::string_view::npos) Fail(LineNo, "':' expected in property list");
      const auto Type = Trim(Decl.substr(Colon + 1));
      for (auto Name : Split(Decl.substr(0, Colon), ',')) {
        if (Name.empty() || Type.empty()) Fail(LineNo, "property name and type expected");
        bool Any = false;
        for (std::size_t G = 0; G < kGroupCount; ++G) {
          if (!Current[G]) continue;
          Any = true;
          Current[G]->Info->Properties.push_back(TPropInfo{std::string(Name), TTypeKind::tkUnknown, {}, {}});
          Current[G]->PropTypes.emplace_back(PickVariant(Type, G));
        }
        if (!Any) Fail(LineNo, "property outside a class");
      }
    }
  }

  static void Resolve(TGroupWork& Work, std::size_t G, TGroupTable& Table) {
    auto FindPending = [&](const std::string& Name) -> TClassInfo* {
      const auto It = Work.Index.find(FoldName(Name));
      return It == Work.Index.end() ? nullptr : Work.Classes[It->second].Info.get();
    };
    for (auto& Pending : Work.Classes) {
      auto& Info = *Pending.Info;
      if (!Pending.ParentName.empty() && !(Info.Parent = FindPending(Pending.ParentName)))
        Fail(Pending.Line, "unknown parent " + Pending.ParentName + " in group " + std::to_string(G));
      if (!Pending.ItemName.empty() && !(Info.ItemClass = FindPending(Pending.ItemName)))
        Fail(Pending.Line, "unknown item class " + Pending.ItemName);
      for (std::size_t P = 0; P < Info.Properties.size(); ++P) {
        auto& Prop = Info.Properties[P];
        const auto& TypeName = Pending.PropTypes[P];
        if (const auto T = Work.Types.find(FoldName(TypeName)); T != Work.Types.end()) {
          Prop.Kind = T->second.Kind;
          Prop.TypeName = T->second.Name;
          Prop.Elements = T->second.Elements;
        } else if (const auto* Class = FindPending(TypeName)) {
          Prop.Kind = TTypeKind::tkClass;
          Prop.TypeName = Class->Name;
        } else {
          Fail(Pending.Line, "unknown type " + TypeName + " of " + Info.Name + "." + Prop.Name);
        }
      }
    }
    for (auto& Pending : Work.Classes) {
      const TClassInfo* Info = Pending.Info.get();
      Table.ByName.emplace(FoldName(Info->Name), Info);
      auto& Props = Table.PropsOf[Info];
      std::size_t Depth = 0;
      for (auto* C = Info; C; C = C->Parent) {
        if (++Depth > Work.Classes.size()) Fail(Pending.Line, "cyclic parent chain");
        for (const auto& Prop : C->Properties) Props.emplace(FoldName(Prop.Name), &Prop);  // nearest wins
      }
      Table.Classes.push_back(std::move(Pending.Info));
    }
  }
};

// The active group lives beside the immutable catalogue; it is the one switch the contract has.
std::atomic<TClassGroup>& ActiveGroup() {
  static std::atomic<TClassGroup> Group{TClassGroup::Native};
  return Group;
}

const TGroupTable& Table(TClassGroup Group) {
  return Catalogue().Groups[static_cast<std::size_t>(Group)];
}

}  // namespace

TCatalogue ParseCatalogue(std::string_view Text) {
  return TCatalogueParser().Parse(Text);
}

const TCatalogue& Catalogue() {
  static const TCatalogue Parsed = ParseCatalogue(CatalogueText());
  return Parsed;
}

}  // namespace vaq::classes

namespace vaq {

using classes::FoldName;

TClassGroup ActivateClassGroup(TClassGroup Group) {
  return classes::ActiveGroup().exchange(Group);
}

const TClassInfo* FindClassInGroup(TClassGroup Group, std::string_view Name) {
  const auto& ByName = classes::Table(Group).ByName;
  const auto It = ByName.find(FoldName(Name));
  return It == ByName.end() ? nullptr : It->second;
}

const TClassInfo* FindClass(std::string_view Name) {
  return FindClassInGroup(classes::ActiveGroup().load(), Name);
}

std::vector<const TClassInfo*> ClassesOfGroup(TClassGroup Group) {
  std::vector<const TClassInfo*> Result;
  for (const auto& Class : classes::Table(Group).Classes) Result.push_back(Class.get());
  return Result;
}

const TPropInfo* GetPropInfo(const TClassInfo& Class, std::string_view PropName) {
  const auto Folded = FoldName(PropName);
  for (const auto& Group : classes::Catalogue().Groups) {
    if (const auto It = Group.PropsOf.find(&Class); It != Group.PropsOf.end()) {
      const auto Prop = It->second.find(Folded);
      return Prop == It->second.end() ? nullptr : Prop->second;
    }
  }
  // A class built outside the catalogue: walk its chain.
  for (const auto* C = &Class; C; C = C->Parent)
    for (const auto& Prop : C->Properties)
      if (FoldName(Prop.Name) == Folded) return &Prop;
  return nullptr;
}

bool InheritsFrom(const TClassInfo& Class, std::string_view AncestorName) {
  const auto Folded = FoldName(AncestorName);
  for (const auto* C = &Class; C; C = C->Parent)
    if (FoldName(C->Name) == Folded) return true;
  return false;
}

namespace {

// Classes registered at run time, beside the immutable catalogue.
struct TRunTimeRegistrations {
  std::mutex Mutex;
  std::unordered_set<const TClassInfo*> Classes;
};

TRunTimeRegistrations& RunTimeRegistrations() {
  static TRunTimeRegistrations Registrations;
  return Registrations;
}

}  // namespace

bool RegisterClass(TClassGroup Group, std::string_view Name) {
  const TClassInfo* Class = FindClassInGroup(Group, Name);
  if (Class == nullptr) return false;
  auto& Registrations = RunTimeRegistrations();
  std::lock_guard Lock(Registrations.Mutex);
  Registrations.Classes.insert(Class);
  return true;
}

bool IsRegisteredComponent(const TClassInfo& Class) {
  if (Class.RegisteredComponent) return true;
  auto& Registrations = RunTimeRegistrations();
  std::lock_guard Lock(Registrations.Mutex);
  return Registrations.Classes.contains(&Class);
}

}  // namespace vaq
