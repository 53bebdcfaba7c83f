#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <tuple>

#include "pointeditor/data/name_tables.h"

namespace tavo {
namespace {

// Every index a signed 8-bit parameter can hold, and one past each end, in both languages,
// pinned by a fingerprint: one changed character anywhere, or a name gained or lost at an edge,
// shows, and the message prints the table to find it in ("?" where there is no name).
TEST(NameTables, EveryNameAsShippedAndNoneOutsideTheTable) {
    const std::tuple<const char*, const NameTable*, uint64_t> tables[] = {
        {"kinds", &pointKindNames, 0x4CB380EAA55A2901},
        {"weapons", &weaponNames, 0x0787D17A84195CF5},
        {"path actions", &pathActionNames, 0x7B953EDC40E43CEA},
        {"small objects", &smallObjectNames, 0xCDE298F8C68AC605},
        {"human types", &humanTypeNames, 0x34D70CC3F77772B2}};
    for (auto [title, table, expected] : tables) {
        std::string all;
        for (bool english : {false, true}) {
            for (int i = -129; i <= 128; ++i) {
                all += std::string(lookupName(*table, i, english).value_or("?")) + "|";
            }
        }
        uint64_t hash = 14695981039346656037u; // FNV-1a
        for (unsigned char c : all) {
            hash = (hash ^ c) * 1099511628211u;
        }
        EXPECT_EQ(hash, expected) << title << ": " << all;
    }
}

} // namespace
} // namespace tavo
