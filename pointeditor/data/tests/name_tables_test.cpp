#include <gtest/gtest.h>

#include <string>

#include "common/text/cp932.h"
#include "pointeditor/data/name_tables.h"

namespace tavo {
namespace {

struct Bounds {
    const char* name;
    const NameTable* table;
    int first;
    int last;
};

const Bounds kTables[] = {
    {"pointKindNames", &pointKindNames, 1, 19},  {"weaponNames", &weaponNames, 0, 22},
    {"pathActionNames", &pathActionNames, 0, 6}, {"smallObjectNames", &smallObjectNames, 0, 12},
    {"humanTypeNames", &humanTypeNames, 0, 42},
};

TEST(NameTables, EveryIndexInRangeHasANameAndNothingOutsideDoes) {
    for (const auto& b : kTables) {
        SCOPED_TRACE(b.name);
        for (bool english : {false, true}) {
            // Indices come straight from a point's signed 8-bit parameters.
            for (int index = -129; index <= 128; ++index) {
                bool inside = index >= b.first && index <= b.last;
                EXPECT_EQ(lookupName(*b.table, index, english).has_value(), inside) << index;
            }
        }
        EXPECT_EQ(lookupName(*b.table, 1 << 30, true), std::nullopt);
        EXPECT_EQ(lookupName(*b.table, -(1 << 30), false), std::nullopt);
    }
}

TEST(NameTables, LanguagesPickTheirOwnColumn) {
    struct Case {
        const NameTable* table;
        int index;
        std::string japanese;
        std::string english;
    };
    const Case cases[] = {
        {&pointKindNames, 1, "人", "HUMAN"},
        {&pointKindNames, 4, "人情報", "HUMAN INFO"},
        {&pointKindNames, 6, "人 主武器無", "HUMAN(EMPTY HANDED)"},
        {&pointKindNames, 9, "", ""}, // kind 9 is nameless
        {&pointKindNames, 19, "イベント チーム番号変更", "EVENT CHANGE A TEAM"},
        {&weaponNames, 0, "NONE", "NONE"},
        {&weaponNames, 13, "GRENADE", "GRENADE"},
        {&weaponNames, 22, "MK23 SD", "MK23 SD"},
        {&pathActionNames, 0, "歩き", "WALK"},
        {&pathActionNames, 6, "手榴弾投げ", "GRENADE"},
        {&smallObjectNames, 2, "パソコン 上", "PC 2"},
        {&smallObjectNames, 12, "<追加小物>", "<ADD-ON OBJECT>"},
        {&humanTypeNames, 0, "特殊 黒 A", "SPECIAL FORCE BLACK A"},
        {&humanTypeNames, 41, "コルブ", "KOLVE"},
        {&humanTypeNames, 42, "コルブ SG", "KOLVE SG"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(lookupName(*c.table, c.index, false), c.japanese) << c.english;
        EXPECT_EQ(lookupName(*c.table, c.index, true), c.english) << c.english;
    }
}

TEST(NameTables, EveryNameCanBeWrittenInCp932) {
    for (const auto& b : kTables) {
        for (auto entry : b.table->entries) {
            EXPECT_TRUE(utf8ToCp932(entry).has_value()) << entry;
        }
    }
}

} // namespace
} // namespace tavo
