// The parsed class catalogue: one table per class group, built once from the catalogue text.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "host/framework/classes.h"

namespace vaq::classes {

// ASCII case folding, the key of every lookup table.
std::string FoldName(std::string_view Name);

struct TGroupTable {
  std::vector<std::unique_ptr<TClassInfo>> Classes;  // catalogue order
  std::unordered_map<std::string, const TClassInfo*> ByName;
  // Every property a class publishes, its own and inherited, by folded name.
  std::unordered_map<const TClassInfo*, std::unordered_map<std::string, const TPropInfo*>> PropsOf;
};

struct TCatalogue {
  std::array<TGroupTable, 2> Groups;  // indexed by TClassGroup
};

// Reads catalogue text; throws std::invalid_argument("line n: ...") on malformed text, duplicate
// classes, unknown parents or unknown property types.
TCatalogue ParseCatalogue(std::string_view Text);

// The catalogue of both frameworks, parsed at first use.
const TCatalogue& Catalogue();

}  // namespace vaq::classes
