#include "pointeditor/data/name_tables.h"

#include <array>

namespace tavo {
namespace {

using namespace std::string_view_literals;

// Kind 0 is no kind and kind 9 has no name; both draw nothing.
constexpr std::array PointKinds = {
    // Japanese
    ""sv,                        // 0
    "人"sv,                      // 1
    "武器"sv,                    // 2
    "パス"sv,                    // 3
    "人情報"sv,                  // 4
    "小物"sv,                    // 5
    "人 主武器無"sv,             // 6
    "ランダム武器"sv,            // 7
    "ランダムパス"sv,            // 8
    ""sv,                        // 9
    "イベント 任務達成"sv,       // 10
    "イベント 任務失敗"sv,       // 11
    "イベント 死亡待ち"sv,       // 12
    "イベント 到着待ち"sv,       // 13
    "イベント 歩きに変更"sv,     // 14
    "イベント 小物破壊待ち"sv,   // 15
    "イベント ケース待ち"sv,     // 16
    "イベント 指定秒待つ"sv,     // 17
    "イベント メッセージ表示"sv, // 18
    "イベント チーム番号変更"sv, // 19
    // English
    ""sv,                      // 0
    "HUMAN"sv,                 // 1
    "WEAPON"sv,                // 2
    "PATH"sv,                  // 3
    "HUMAN INFO"sv,            // 4
    "SMALL OBJECT"sv,          // 5
    "HUMAN(EMPTY HANDED)"sv,   // 6
    "RANDOM WEAPON"sv,         // 7
    "RANDOM PATH"sv,           // 8
    ""sv,                      // 9
    "EVENT SUCCESSFUL"sv,      // 10
    "EVENT FAILURE"sv,         // 11
    "EVENT WAIT DEATH"sv,      // 12
    "EVENT WAIT COMING"sv,     // 13
    "EVENT CHANGE TO WALK"sv,  // 14
    "EVENT WAIT DESTROY"sv,    // 15
    "EVENT WAIT BRING CASE"sv, // 16
    "EVENT WAIT SECOND"sv,     // 17
    "EVENT MESSAGE"sv,         // 18
    "EVENT CHANGE A TEAM"sv,   // 19
};

// Weapons carry their model names, the same in either language.
constexpr std::array Weapons = {
    "NONE"sv,         // 0
    "MP5"sv,          // 1
    "PSG1"sv,         // 2
    "M92F"sv,         // 3
    "GLOCK18S"sv,     // 4
    "DESERT EAGLE"sv, // 5
    "MAC10"sv,        // 6
    "UMP"sv,          // 7
    "P90"sv,          // 8
    "M4"sv,           // 9
    "AK47"sv,         // 10
    "AUG"sv,          // 11
    "M249"sv,         // 12
    "GRENADE"sv,      // 13
    "MP5SD"sv,        // 14
    "CASE"sv,         // 15
    "GLOCK18F"sv,     // 16
    "M1911"sv,        // 17
    "GLOCK17"sv,      // 18
    "M1"sv,           // 19
    "FAMAS"sv,        // 20
    "MK23"sv,         // 21
    "MK23 SD"sv,      // 22
};

// What a PATH point makes a human do on reaching it.
constexpr std::array PathActions = {
    // Japanese
    "歩き"sv,       // 0
    "走り"sv,       // 1
    "待機"sv,       // 2
    "追尾"sv,       // 3
    "警戒待ち"sv,   // 4
    "時間待ち"sv,   // 5
    "手榴弾投げ"sv, // 6
    // English
    "WALK"sv,         // 0
    "RUN"sv,          // 1
    "WAIT"sv,         // 2
    "FOLLOW"sv,       // 3
    "WAIT LOOKOUT"sv, // 4
    "WAIT A SEC"sv,   // 5
    "GRENADE"sv,      // 6
};

// The two columns are separate texts: the Japanese names of objects 2 and 3 say "top" and
// "reversed", the English ones only number them.
constexpr std::array SmallObjects = {
    // Japanese
    "缶"sv,                 // 0
    "パソコン"sv,           // 1
    "パソコン 上"sv,        // 2
    "パソコン 逆"sv,        // 3
    "パソコン ワイド"sv,    // 4
    "パソコン ワイド 上"sv, // 5
    "パソコン ワイド 逆"sv, // 6
    "椅子"sv,               // 7
    "ダンボール"sv,         // 8
    "パソコン 起動"sv,      // 9
    "パソコン 起動 暗"sv,   // 10
    "パイロン"sv,           // 11
    "<追加小物>"sv,         // 12
    // English
    "CAN"sv,             // 0
    "PC"sv,              // 1
    "PC 2"sv,            // 2
    "PC 3"sv,            // 3
    "PC WIDE"sv,         // 4
    "PC WIDE 2"sv,       // 5
    "PC WIDE 3"sv,       // 6
    "CHAIR"sv,           // 7
    "CARDBOARD BOX"sv,   // 8
    "PC RUNNING"sv,      // 9
    "PC RUNNING DARK"sv, // 10
    "CONE"sv,            // 11
    "<ADD-ON OBJECT>"sv, // 12
};

constexpr std::array HumanTypes = {
    // Japanese
    "特殊 黒 A"sv,      // 0
    "特殊 黒 B"sv,      // 1
    "特殊 緑 A"sv,      // 2
    "特殊 緑 B"sv,      // 3
    "特殊 緑 C"sv,      // 4
    "特殊 白 A"sv,      // 5
    "特殊 白 B"sv,      // 6
    "ハゲ"sv,           // 7
    "特殊 紫"sv,        // 8
    "特殊 青"sv,        // 9
    "戦闘用ロボット"sv, // 10
    "スーツ 黒 SG"sv,   // 11
    "スーツ 黒"sv,      // 12
    "スーツ 灰"sv,      // 13
    "警察官"sv,         // 14
    "スーツ 茶"sv,      // 15
    "シャツ男 1"sv,     // 16
    "中東兵"sv,         // 17
    "女"sv,             // 18
    "金髪男"sv,         // 19
    "市民 1"sv,         // 20
    "市民 2"sv,         // 21
    "シャツ男 1 SG"sv,  // 22
    "金髪男 SG"sv,      // 23
    "市民 1 SG"sv,      // 24
    "市民 2 SG"sv,      // 25
    "兵士 1 A"sv,       // 26
    "兵士 1 B"sv,       // 27
    "兵士 2"sv,         // 28
    "ゾンビ 1"sv,       // 29
    "ゾンビ 2"sv,       // 30
    "ゾンビ 3"sv,       // 31
    "ゾンビ 4"sv,       // 32
    "スーツ 紺"sv,      // 33
    "スーツ 紺 SG"sv,   // 34
    "将軍"sv,           // 35
    "スーツ 青"sv,      // 36
    "スーツ 青 SG"sv,   // 37
    "シャツ男 2 SG"sv,  // 38
    "兵士 3"sv,         // 39
    "兵士 3 SG"sv,      // 40
    "コルブ"sv,         // 41
    "コルブ SG"sv,      // 42
    // English
    "SPECIAL FORCE BLACK A"sv, // 0
    "SPECIAL FORCE BLACK B"sv, // 1
    "SPECIAL FORCE GREEN A"sv, // 2
    "SPECIAL FORCE GREEN B"sv, // 3
    "SPECIAL FORCE GREEN C"sv, // 4
    "SPECIAL FORCE WHITE A"sv, // 5
    "SPECIAL FORCE WHITE B"sv, // 6
    "SKINHEAD"sv,              // 7
    "SPECIAL FORCE PURPLE"sv,  // 8
    "SPECIAL FORCE BLUE"sv,    // 9
    "ROBOT"sv,                 // 10
    "SUIT BLACK SG"sv,         // 11
    "SUIT BLACK"sv,            // 12
    "SUIT GRAY"sv,             // 13
    "POLICEMAN"sv,             // 14
    "SUIT BROWN"sv,            // 15
    "A-SHIRT 1"sv,             // 16
    "MIDEAST SOLDIER"sv,       // 17
    "WOMAN"sv,                 // 18
    "BLOND"sv,                 // 19
    "CIVILIAN 1"sv,            // 20
    "CIVILIAN 2"sv,            // 21
    "A-SHIRT 1 SG"sv,          // 22
    "BLOND SG"sv,              // 23
    "CIVILIAN 1 SG"sv,         // 24
    "CIVILIAN 2 SG"sv,         // 25
    "SOLDIER 1 A"sv,           // 26
    "SOLDIER 1 B"sv,           // 27
    "SOLDIER 2"sv,             // 28
    "ZOMBIE 1"sv,              // 29
    "ZOMBIE 2"sv,              // 30
    "ZOMBIE 3"sv,              // 31
    "ZOMBIE 4"sv,              // 32
    "SUIT NAVY"sv,             // 33
    "SUIT NAVY SG"sv,          // 34
    "GENERAL"sv,               // 35
    "SUIT BLUE"sv,             // 36
    "SUIT BLUE SG"sv,          // 37
    "A-SHIRT 2 SG"sv,          // 38
    "SOLDIER 3"sv,             // 39
    "SOLDIER 3 SG"sv,          // 40
    "KOLVE"sv,                 // 41
    "KOLVE SG"sv,              // 42
};

static_assert(PointKinds.size() == 2 * 20);
static_assert(Weapons.size() == 23);
static_assert(PathActions.size() == 2 * 7);
static_assert(SmallObjects.size() == 2 * 13);
static_assert(HumanTypes.size() == 2 * 43);

} // namespace

const NameTable pointKindNames{PointKinds, 20, true, 1};
const NameTable weaponNames{Weapons, 23, false};
const NameTable pathActionNames{PathActions, 7, true};
const NameTable smallObjectNames{SmallObjects, 13, true};
const NameTable humanTypeNames{HumanTypes, 43, true};

std::optional<std::string_view> lookupName(const NameTable& table, int index, bool english) {
    if (index < table.firstIndex || index >= table.count) {
        return std::nullopt;
    }
    std::size_t entry = static_cast<std::size_t>(index);
    if (table.bilingual && english) {
        entry += static_cast<std::size_t>(table.count);
    }
    if (entry >= table.entries.size()) {
        return std::nullopt;
    }
    return table.entries[entry];
}

} // namespace tavo
