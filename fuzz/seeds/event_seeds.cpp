// Event sequences of the editor's own use, each on one of the point file seeds.

#include <string>

#include "fuzz/seeds/seed_files.h"

namespace tavo::fuzz {

std::vector<SeedFile> eventSequenceSeeds() {
    // Kinds as event_check.cpp reads them; x picks the boxes' answers (Ok, Cancel, Save, Discard,
    // Yes, No), y the dialogs' (cancel, the points file, saved.pd1, the map, a folder, nothing).
    enum : uint8_t { Move, Down, Up, Key, Menu, Shortcut, Other, Close };
    struct Event {
        uint8_t kind;
        uint8_t a;
        int16_t x = 0;
        int16_t y = 0;
    };
    const std::vector<Event> scripts[] = {
        // VIEW: turn and fly the camera, pan and zoom a 2D pane, the keypad's pan and zoom, F3
        {{Menu, 4},
         {Move, 0, 440, 165},
         {Down, 0},
         {Move, 0, 450, 150},
         {Down, 1},
         {Move, 0, 430, 170},
         {Up, 0},
         {Move, 0, 400, 100},
         {Up, 1},
         {Move, 0, 150, 165},
         {Down, 1},
         {Move, 0, 150, 100},
         {Up, 1},
         {Down, 0},
         {Move, 0, 120, 140},
         {Up, 0},
         {Key, 0x6B},
         {Key, 0x64},
         {Key, 0x72}},
        // SELECT a box, narrow it with a right click, drag the points, snap them to the grid
        {{Menu, 1},   {Move, 0, 60, 80}, {Down, 0}, {Up, 0},   {Move, 0, 250, 280}, {Down, 0, 0, 0},
         {Up, 0},     {Move, 0, 40, 60}, {Down, 0}, {Up, 0},   {Move, 0, 240, 260}, {Down, 1},
         {Up, 1},     {Down, 1},         {Up, 1},   {Down, 0}, {Move, 0, 170, 190}, {Up, 0},
         {Key, 0x27}, {Key, 0x0D}},
        // every menu row and toggle, the file commands answered in turn
        {{Menu, 0},
         {Move, 0, 100, 100},
         {Down, 0},
         {Up, 0},
         {Menu, 3, 0, 0},
         {Menu, 5, 0, 3},
         {Menu, 6, 0, 2},
         {Menu, 7, 3, 2},
         {Menu, 7, 1, 5},
         {Menu, 8},
         {Menu, 9},
         {Menu, 10},
         {Menu, 11},
         {Menu, 12},
         {Menu, 13},
         {Menu, 2},
         {Menu, 5}},
        // the key commands over a pane: parameters, templates, Insert, the link check, counts
        {{Move, 0, 150, 455},
         {Key, 'A'},
         {Key, 'F'},
         {Key, '1'},
         {Key, '7'},
         {Key, 0x60},
         {Key, 0x2D},
         {Key, '0'},
         {Key, 0x74},
         {Key, 0x71},
         {Key, 0x77},
         {Key, 0x78},
         {Key, 0x7A},
         {Key, 0x7B},
         {Key, 0x65},
         {Key, 0x68},
         {Key, 0x6D},
         {Other, 0}},
        // the shortcuts: save as, load, undo and redo, then closing with and without saving
        {{Move, 0, 150, 165},
         {Key, '3'},
         {Shortcut, 3, 0, 2},
         {Key, 'Z'},
         {Key, '2'},
         {Shortcut, 0},
         {Shortcut, 1},
         {Shortcut, 2, 2, 2},
         {Shortcut, 4, 3, 1},
         {Shortcut, 5, 0, 3},
         {Key, '4'},
         {Close, 0, 1},
         {Close, 0, 3}},
    };
    const std::vector<SeedFile> points = pointFileSeeds();
    constexpr std::size_t PointSeed[] = {2, 3, 6, 1, 5}; // odd values, full, cut short, one, none
    std::vector<SeedFile> seeds;
    for (std::size_t i = 0; i < std::size(scripts); ++i) {
        const std::vector<uint8_t>& file = points[PointSeed[i]].bytes;
        SeedFile seed{"events_" + std::to_string(i) + ".bin",
                      {static_cast<uint8_t>(0x3F ^ (i * 0x45)), static_cast<uint8_t>(i), 20,
                       static_cast<uint8_t>(0x55 << i), 5, 3, 2, 7, 1, 0xFF, 2,
                       static_cast<uint8_t>(file.size()), static_cast<uint8_t>(file.size() >> 8)}};
        seed.bytes.insert(seed.bytes.end(), file.begin(), file.end());
        for (const Event& event : scripts[i]) {
            const auto x = static_cast<uint16_t>(event.x);
            const auto y = static_cast<uint16_t>(event.y);
            seed.bytes.insert(seed.bytes.end(),
                              {event.kind, event.a, static_cast<uint8_t>(x),
                               static_cast<uint8_t>(x >> 8), static_cast<uint8_t>(y),
                               static_cast<uint8_t>(y >> 8)});
        }
        seeds.push_back(std::move(seed));
    }
    return seeds;
}

} // namespace tavo::fuzz
