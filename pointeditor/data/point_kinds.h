#pragma once
// The kinds of point (p1) and the path action that the editor and the tools give meaning to.
// Their names are in name_tables.h.

#include <cstdint>

namespace tavo {

inline constexpr int8_t KindHuman = 1;
inline constexpr int8_t KindWeapon = 2;
inline constexpr int8_t KindPath = 3;
inline constexpr int8_t KindHumanInfo = 4;
inline constexpr int8_t KindSmallObject = 5;
inline constexpr int8_t KindHumanEmptyHanded = 6;
inline constexpr int8_t KindRandomWeapon = 7;
inline constexpr int8_t KindRandomPath = 8;
inline constexpr int8_t KindUnnamed = 9;
inline constexpr int8_t FirstEventKind = 10;
inline constexpr int8_t LastEventKind = 19;
inline constexpr int8_t FirstWaitingEventKind = 12; // events 12..16 also name a point by p2
inline constexpr int8_t LastWaitingEventKind = 16;
inline constexpr int8_t LastKind = 19;

// PATH or RANDOM PATH.
inline constexpr bool isPathKind(int kind) {
    return kind == KindPath || kind == KindRandomPath;
}

// HUMAN or HUMAN(EMPTY HANDED): the kinds the editor counts as people.
inline constexpr bool isHumanKind(int kind) {
    return kind == KindHuman || kind == KindHumanEmptyHanded;
}

inline constexpr bool isEventKind(int kind) {
    return kind >= FirstEventKind && kind <= LastEventKind;
}

// Events that wait for a point also name it by p2.
inline constexpr bool isWaitingEventKind(int kind) {
    return kind >= FirstWaitingEventKind && kind <= LastWaitingEventKind;
}

// The id numbers (p4) that the editor marks with a flat X in the 2D views.
inline constexpr bool isSpecialId(int id) {
    return id == 0 || id == -100 || id == -110 || id == -120;
}

inline constexpr int8_t PathActionGrenade = 6; // a PATH point's p2: throws, and the path branches

} // namespace tavo
