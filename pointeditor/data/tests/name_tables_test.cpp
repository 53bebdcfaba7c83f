#include <gtest/gtest.h>

#include <string>

#include "pointeditor/data/name_tables.h"

namespace tavo {
namespace {

TEST(NameTables, OnlyIndicesInsideTheTableHaveNames) {
    const std::tuple<const NameTable*, int, int> tables[] = {
        {&pointKindNames, 1, 19},   {&weaponNames, 0, 22},    {&pathActionNames, 0, 6},
        {&smallObjectNames, 0, 12}, {&humanTypeNames, 0, 42},
    };
    for (const auto& [table, first, last] : tables) {
        for (bool english : {false, true}) {
            // Indices come from a point's signed 8-bit parameters.
            for (int index = -129; index <= 128; ++index) {
                EXPECT_EQ(lookupName(*table, index, english).has_value(),
                          index >= first && index <= last)
                    << first << ".." << last << ": " << index;
            }
        }
    }
}

TEST(NameTables, EachLanguageReadsItsOwnColumn) {
    const std::tuple<const NameTable*, int, std::string, std::string> cases[] = {
        {&pointKindNames, 1, "人", "HUMAN"},
        {&pointKindNames, 9, "", ""},
        {&pointKindNames, 19, "イベント チーム番号変更", "EVENT CHANGE A TEAM"},
        {&weaponNames, 22, "MK23 SD", "MK23 SD"},
        {&pathActionNames, 6, "手榴弾投げ", "GRENADE"},
        {&smallObjectNames, 2, "パソコン 上", "PC 2"},
        {&humanTypeNames, 0, "特殊 黒 A", "SPECIAL FORCE BLACK A"},
        {&humanTypeNames, 42, "コルブ SG", "KOLVE SG"},
    };
    for (const auto& [table, index, japanese, english] : cases) {
        EXPECT_EQ(lookupName(*table, index, false), japanese);
        EXPECT_EQ(lookupName(*table, index, true), english);
    }
}

} // namespace
} // namespace tavo
