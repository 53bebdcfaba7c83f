#pragma once
// How many records of a data file to take: the count the file declares, bounded by the table and
// by the bytes the file really holds.

#include <cstddef>

namespace tavo {

// How many whole records to read after a file's header: a count of zero or below reads none,
// one above the table's capacity reads a full table, and a file that ends early gives only the
// records it holds completely.
std::size_t recordsToRead(int declaredCount, int capacity, std::size_t bytesAfterHeader,
                          std::size_t recordSize);

} // namespace tavo
