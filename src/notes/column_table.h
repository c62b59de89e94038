// The column/key table of form notes: the keys that name the fields of a notes string, the grid
// columns the editor shows, their default order and captions, and the module's resource strings
// for them. The row index of the table is the column id used throughout the module.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "host/core/types.h"

namespace rux {

// Column ids: rows of VaqColInfo. Ids 0..9 are grid columns, 10..14 stored keys only.
inline constexpr vaq::TVaqAllColId ColIndex = 0;  // row number; has no key
inline constexpr vaq::TVaqAllColId ColId = 1;
inline constexpr vaq::TVaqAllColId ColOrig = 2;
inline constexpr vaq::TVaqAllColId ColStatus = 3;
inline constexpr vaq::TVaqAllColId ColCurr = 4;
inline constexpr vaq::TVaqAllColId ColCreated = 5;
inline constexpr vaq::TVaqAllColId ColModified = 6;
inline constexpr vaq::TVaqAllColId ColPrevOrig = 7;
inline constexpr vaq::TVaqAllColId ColPrevCurr = 8;
inline constexpr vaq::TVaqAllColId ColComment = 9;
inline constexpr vaq::TVaqAllColId ColLocalize = 10;
inline constexpr vaq::TVaqAllColId ColOrder = 11;
inline constexpr vaq::TVaqAllColId ColType = 12;
inline constexpr vaq::TVaqAllColId ColOpen = 13;
inline constexpr vaq::TVaqAllColId ColClose = 14;

// The highest column id; the core is handed this count together with the table.
inline constexpr vaq::TVaqAllColId MaxColId = ColClose;
inline constexpr std::size_t ColumnCount = MaxColId + 1;
// Rows 0..9 are grid columns with captions.
inline constexpr vaq::TVaqAllColId LastGridColId = ColComment;

// Keys of the notes-string fields. "ID:" always comes first; every other key starts with the
// field separator 0x04, so no key can match inside a value. (Octal "\004": a hex escape would
// swallow the hex digit that follows it, as in "\x04C".)
inline constexpr char FieldSeparator = '\x04';
inline constexpr std::string_view KeyId = "ID:";
inline constexpr std::string_view KeyOrig = "\004Orig:";
inline constexpr std::string_view KeyStatus = "\004Status:";
inline constexpr std::string_view KeyCurr = "\004Curr:";
inline constexpr std::string_view KeyCreated = "\004Created:";
inline constexpr std::string_view KeyModified = "\004Modified:";
inline constexpr std::string_view KeyPrevOrig = "\004PrevOrig:";
inline constexpr std::string_view KeyPrevCurr = "\004PrevCurr:";
inline constexpr std::string_view KeyComment = "\004Comment:";
inline constexpr std::string_view KeyLocalize = "\004Localize:";
inline constexpr std::string_view KeyOrder = "\004Order:";
inline constexpr std::string_view KeyType = "\004Type:";
inline constexpr std::string_view KeyOpen = "\004Open:";
inline constexpr std::string_view KeyClose = "\004Close:";

// The key of a column id. Id 0 (the row number) has no key and ids above MaxColId do not exist:
// asking for either is a programming error and throws std::out_of_range.
std::string_view ColumnKey(vaq::TVaqAllColId id);

// The column table handed to the core. Keys and numbers are fixed; the captions of rows 0..9 are
// filled by LoadColumnCaptions at module start-up and released by ReleaseColumnCaptions at unload.
extern std::array<vaq::TColInfo, ColumnCount> VaqColInfo;

// Default left-to-right order of the grid columns, by column id.
extern const std::array<vaq::TVaqAllColId, 10> DefColIds;

// A string of the module's string table. The captions are language resources and may be
// translated with the module.
struct TResString {
  std::uint32_t Id;
  std::string_view Text;
};

inline constexpr TResString SFiles{65520, "Forms"};  // display name of the file type
inline constexpr TResString SColIndex{65521, ""};
inline constexpr TResString SColId{65522, "Id"};
inline constexpr TResString SColOrig{65523, "Original value"};
inline constexpr TResString SColStatus{65524, "Status"};
inline constexpr TResString SColCurr{65525, "Current value"};
inline constexpr TResString SColCreated{65526, "Created"};
inline constexpr TResString SColModified{65527, "Modified"};
inline constexpr TResString SColPrevOrig{65528, "Previous original Value"};
inline constexpr TResString SColPrevCurr{65529, "Previous current Value"};
inline constexpr TResString SColComment{65530, "Comment"};

// The text of a resource string of this table; nothing for an id it does not hold.
std::optional<std::string_view> FindResString(std::uint32_t id);

// Module start-up: loads the captions of rows 9 down to 0 from the string table
// (row i from resource SColIndex.Id + i).
void LoadColumnCaptions();
// Module unload: releases the captions of all rows.
void ReleaseColumnCaptions();

}  // namespace rux
