#pragma once
// The gate that the texture set's decoding threads pass before each file.

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>

#include "pointeditor/view/image/texture_set_decoder.h"

namespace tavo {

// Bounds the pixels decoded and not yet uploaded: a decoder may hold two copies of an image at
// once (Qt's and ours), and each upload adds the atlas's, so two files of half the budget each
// decoded side by side would take three times the budget's bytes. A file waits while others in
// flight leave it no room; one alone always goes. Files enter in queue order, so a file waits
// only for earlier ones, whose uploads the calling thread makes in that order.
class PixelsInFlight {
public:
    static constexpr int64_t Limit = MapPixelBudget / 2;

    void enter(std::size_t turn, int64_t pixels) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] {
            return open_ || (turn == nextTurn_ && (inFlight_ == 0 || inFlight_ + pixels <= Limit));
        });
        inFlight_ += pixels;
        ++nextTurn_;
        changed_.notify_all();
    }
    void leave(int64_t pixels) {
        const std::lock_guard lock(mutex_);
        inFlight_ -= pixels;
        changed_.notify_all();
    }
    // No file waits any more: the uploads stopped early (an exception), and the decoders must
    // run out so that their threads can be joined.
    void open() {
        const std::lock_guard lock(mutex_);
        open_ = true;
        changed_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    int64_t inFlight_ = 0;
    std::size_t nextTurn_ = 0;
    bool open_ = false;
};

} // namespace tavo
