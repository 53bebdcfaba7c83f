#include "pointeditor/data/record_count.h"

#include <algorithm>

namespace tavo {

std::size_t recordsToRead(int declaredCount, int capacity, std::size_t bytesAfterHeader,
                          std::size_t recordSize) {
    auto wanted = static_cast<std::size_t>(std::clamp(declaredCount, 0, capacity));
    return std::min(wanted, bytesAfterHeader / recordSize);
}

} // namespace tavo
