#pragma once
// The names of point kinds, weapons, path actions, small objects and human types, in Japanese
// and English (UTF-8). A bilingual table of N names holds the N Japanese names first and the N
// English names behind them; the weapon table has one language for both.

#include <optional>
#include <span>
#include <string_view>

namespace tavo {

struct NameTable {
    std::span<const std::string_view> entries;
    int count;          // names per language
    bool bilingual;     // false: the same entries serve both languages
    int firstIndex = 0; // lowest index with a name; the point kinds start at 1
};

extern const NameTable pointKindNames;   // index 1..19; entry 0 unused, 9 empty
extern const NameTable weaponNames;      // index 0..22
extern const NameTable pathActionNames;  // index 0..6
extern const NameTable smallObjectNames; // index 0..12
extern const NameTable humanTypeNames;

// The name of `index` in the chosen language, nullopt when index is outside the table.
std::optional<std::string_view> lookupName(const NameTable& table, int index, bool english);

} // namespace tavo
