// The decoding threads' gate: whether a file may start decoding while others are in flight.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <tuple>

#include "pointeditor/view/image/pixels_in_flight.h"

namespace tavo {
namespace {

using namespace std::chrono_literals;
constexpr int64_t Half = MapPixelBudget / 2;

// name, what the gate sees before the file comes, the file's turn and pixels, whether it enters
// before anything else happens to the gate
const std::tuple<const char*, void (*)(PixelsInFlight&), std::size_t, int64_t, bool> Cases[] = {
    {"alone, the whole budget", [](PixelsInFlight&) {}, 0, MapPixelBudget, true},
    {"beside a quarter, a quarter", [](PixelsInFlight& g) { g.enter(0, Half / 2); }, 1, Half / 2,
     true},
    {"beside half the budget, one pixel", [](PixelsInFlight& g) { g.enter(0, Half); }, 1, 1, false},
    {"after half the budget left again", [](PixelsInFlight& g) { g.enter(0, Half), g.leave(Half); },
     1, Half, true},
    {"before its turn", [](PixelsInFlight&) {}, 1, 1, false},
    {"beside half the budget, opened", [](PixelsInFlight& g) { g.enter(0, Half), g.open(); }, 1, 1,
     true},
};

TEST(PixelsInFlight, AFileEntersInItsTurnWhileThereIsRoomOrWhenAlone) {
    for (const auto& [name, before, turn, pixels, enters] : Cases) {
        PixelsInFlight gate;
        before(gate);
        std::atomic<bool> entered{false};
        std::thread file([&, turn = turn, pixels = pixels] {
            gate.enter(turn, pixels);
            entered = true;
        });
        // A thread that may enter gets ten seconds (the machine may be busy); one that must
        // wait is watched for a tenth of one.
        const auto until = std::chrono::steady_clock::now() + (enters ? 10s : 100ms);
        while (!entered && std::chrono::steady_clock::now() < until) {
            std::this_thread::sleep_for(1ms);
        }
        EXPECT_EQ(entered.load(), enters) << name;
        gate.open(); // a waiting thread runs out
        file.join();
    }
}

} // namespace
} // namespace tavo
