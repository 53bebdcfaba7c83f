#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <tuple>

#include "pointeditor/data/name_tables.h"

namespace tavo {
namespace {

// Every name of every table, pinned by a fingerprint: one changed character anywhere shows, and
// the message prints the table to find it in.
TEST(NameTables, EveryNameAsShipped) {
    const std::tuple<const char*, const NameTable*, uint64_t> tables[] = {
        {"kinds", &pointKindNames, 0x0F2FBE59FAF665D7},
        {"weapons", &weaponNames, 0x30AC598B96032F25},
        {"path actions", &pathActionNames, 0x2D8C16A7E337BF52},
        {"small objects", &smallObjectNames, 0x8649E0BC6DFAD55B},
        {"human types", &humanTypeNames, 0xC613952597FB4520}};
    for (auto [title, table, expected] : tables) {
        std::string all;
        for (bool english : {false, true}) {
            for (int i = table->firstIndex; i < table->count; ++i) {
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

TEST(NameTables, OnlyIndicesInsideTheTableHaveNames) {
    const std::tuple<const NameTable*, int, int> tables[] = {
        {&pointKindNames, 1, 19},   {&weaponNames, 0, 22},    {&pathActionNames, 0, 6},
        {&smallObjectNames, 0, 12}, {&humanTypeNames, 0, 42},
    };
    for (const auto& [table, first, last] : tables) {
        for (int index = -129; index <= 128; ++index) { // from a signed 8-bit parameter
            bool named = index >= first && index <= last;
            EXPECT_EQ(lookupName(*table, index, false).has_value(), named) << last << ":" << index;
            EXPECT_EQ(lookupName(*table, index, true).has_value(), named) << last << ":" << index;
        }
    }
}

} // namespace
} // namespace tavo
