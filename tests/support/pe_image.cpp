// Small PE images for tests.
#include "support/pe_image.h"

#include <algorithm>

namespace vaq::testing {

// Root, type and name directories, one language each, then the data entries, names and data.
std::string ResourceSection(const std::vector<TType>& types) {
  std::size_t dirs = 16 + 8 * types.size(), leaves = 0;
  for (const TType& t : types) {
    dirs += 16 + 8 * t.Names.size();
    dirs += t.Names.size() * (16 + 8);
    leaves += t.Names.size();
  }
  TBytes r;
  std::size_t nextDir = 16 + 8 * types.size(), nextData = dirs, nextName = dirs + 16 * leaves;
  auto entry = [&](std::size_t at, const TKey& key, std::uint32_t target) {
    if (const int* id = std::get_if<int>(&key)) {
      r.Put(at, *id, 4);
    } else {
      const std::u16string& name = std::get<std::u16string>(key);
      r.Put(at, 0x80000000u | nextName, 4);
      r.Put(nextName, name.size(), 2);
      for (char16_t c : name) r.Put(nextName += 2, c, 2);
      nextName += 2;
    }
    r.Put(at + 4, target, 4);
  };
  auto directory = [&](std::size_t at, const std::vector<TKey>& keys) {
    const auto named = std::ranges::count_if(keys, [](const TKey& k) { return k.index() == 1; });
    r.Put(at, 0, 8);  // characteristics, time stamp, version
    r.Put(at + 8, 0, 4);
    r.Put(at + 12, named, 2);
    r.Put(at + 14, keys.size() - named, 2);
  };
  // Directories are laid out first so that names land after them.
  std::vector<TKey> typeKeys;
  for (const TType& t : types) typeKeys.push_back(t.Key);
  directory(0, typeKeys);
  for (std::size_t i = 0; i < types.size(); ++i) {
    const std::size_t typeDir = nextDir;
    nextDir += 16 + 8 * types[i].Names.size();
    entry(16 + 8 * i, types[i].Key, 0x80000000u | typeDir);
    directory(typeDir, types[i].Names);
    for (std::size_t j = 0; j < types[i].Names.size(); ++j) {
      const std::size_t nameDir = nextDir;
      nextDir += 16 + 8;
      entry(typeDir + 16 + 8 * j, types[i].Names[j], 0x80000000u | nameDir);
      directory(nameDir, {0x409});
      entry(nameDir + 16, 0x409, nextData);
      r.Put(nextData, kRsrcRva + 0x800, 4);  // data RVA, size, code page
      r.Put(nextData + 4, 4, 4);
      nextData += 16;
    }
  }
  r.Put(nextName + 8, 0, 4);  // the data itself
  return r.data;
}

std::string PeImage(bool pe64, const std::string& rsrc) {
  TBytes b;
  b.data = "MZ";
  b.data.resize(kRsrcOffset);
  b.Put(0x3C, 0x40, 4);
  b.data.replace(0x40, 4, std::string("PE\0\0", 4));
  const std::size_t optionalSize = pe64 ? 240 : 224, optional = 0x40 + 24;
  b.Put(0x44, pe64 ? 0x8664 : 0x14C, 2);
  b.Put(0x46, 1, 2);  // one section
  b.Put(0x54, optionalSize, 2);
  b.Put(optional, pe64 ? 0x20B : 0x10B, 2);
  const std::size_t dirs = optional + (pe64 ? 112 : 96);
  b.Put(dirs - 4, 16, 4);
  b.Put(dirs + 16, kRsrcRva, 4);
  b.Put(dirs + 20, rsrc.size(), 4);
  const std::size_t section = optional + optionalSize;
  b.data.replace(section, 6, ".rsrc\0", 6);
  b.Put(section + 8, rsrc.size(), 4);
  b.Put(section + 12, kRsrcRva, 4);
  b.Put(section + 16, rsrc.size(), 4);
  b.Put(section + 20, kRsrcOffset, 4);
  return b.data + rsrc;
}

}  // namespace vaq::testing
