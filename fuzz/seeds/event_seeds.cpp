// Event sequences of the editor's own use, each on one of the point file seeds.

#include <cstdio>
#include <sstream>
#include <string>

#include "fuzz/seeds/seed_files.h"

namespace tavo::fuzz {

std::vector<SeedFile> eventSequenceSeeds() {
    // One event a word, its kind a letter as event_check.cpp numbers them: Mx,y a move; Dn, Un
    // button n down, up; Kcode a key; Crow,x,y a menu click; S0 undo, S1 redo. x picks the boxes'
    // answers (Ok, Cancel, Save, Discard, Yes, No), y the dialogs' (cancel, the points file,
    // saved.pd1, the map, a folder, a missing folder).
    const char* const scripts[] = {
        // VIEW: turn and fly the camera, zoom and pan a 2D pane, the keypad's pan and zoom, F3
        "C4 M440,165 D0 M450,150 D1 M430,170 U0 U1 M150,165 D1 M150,99 U1 D0 M120,140 U0 K107 K114",
        // SELECT a box, narrow it with a right click, drag the points, snap them, turn, show them
        "C1 M60,80 D0 U0 M250,280 D0 U0 M40,60 D0 U0 M240,260 D1 U1 D1 U1 D0 M170,190 U0 K39 K13",
        // every menu row and toggle, the file commands answered in turn
        "C0 M100,100 D0 U0 C3 C5,0,3 C6,0,2 C7,3,2 C7,1,5 C8 C9 C10 C11 C12 C13 C2 C5",
        // the keys over a pane: parameters, templates, Insert, the link check, counts, keypad
        "M150,455 K65 K70 K49 K55 K96 K45 K48 K116 K113 K119 K120 K122 K123 K101 K104 K109",
        // undo and redo between changes, saves and loads; loading over unsaved points: save, cancel
        "M150,165 K51 C6,0,2 K90 K50 S0 S1 S0 C4 M150,165 K52 C7,2,1 S0 C7,1 S1 C7,3,2 S0 S1",
    };
    const std::vector<SeedFile> points = pointFileSeeds();
    constexpr std::size_t PointSeed[] = {2, 3, 6, 1, 5}; // odd values, full, cut short, one, none
    std::vector<SeedFile> seeds;
    for (std::size_t i = 0; i < std::size(scripts); ++i) {
        const std::vector<uint8_t>& file = points[PointSeed[i]].bytes;
        // Switches, mode, zoom, selection, parameters, pan, then the points file's length.
        std::vector<uint8_t> bytes = {0x3F, 0, 20, 0x55, 5, 3, 2, 7, 1, 0xFF, 2};
        bytes[0] ^= static_cast<uint8_t>(i * 0x45);
        bytes[1] = static_cast<uint8_t>(i);
        bytes[3] = static_cast<uint8_t>(bytes[3] << i);
        bytes.push_back(static_cast<uint8_t>(file.size()));
        bytes.push_back(static_cast<uint8_t>(file.size() >> 8));
        bytes.insert(bytes.end(), file.begin(), file.end());
        std::istringstream words(scripts[i]);
        for (std::string word; words >> word;) {
            int v[3] = {};
            std::sscanf(word.c_str() + 1, "%d,%d,%d", &v[0], &v[1], &v[2]);
            const int kind = static_cast<int>(std::string_view("MDUKCS").find(word[0]));
            const int a = kind == 0 ? 0 : v[0];
            const int x = kind == 0 ? v[0] : v[1];
            const int y = kind == 0 ? v[1] : v[2];
            bytes.insert(bytes.end(), {static_cast<uint8_t>(kind), static_cast<uint8_t>(a),
                                       static_cast<uint8_t>(x), static_cast<uint8_t>(x >> 8),
                                       static_cast<uint8_t>(y), static_cast<uint8_t>(y >> 8)});
        }
        seeds.push_back({"events_" + std::to_string(i) + ".bin", std::move(bytes)});
    }
    return seeds;
}

} // namespace tavo::fuzz
