#pragma once
// The two saves that meet failing storage: the point editor's SAVE POINT and the mission
// editor's SAVE, each driven as its program drives it and reporting the boxes it showed.

#include <string>
#include <vector>

namespace tavo::testing {

struct Saver {
    const char* name;
    std::string fileName;   // what the saved file is called in the tests
    std::string caption;    // of the error boxes
    std::string openError;  // when no file can be made
    std::string writeError; // when the file cannot be written to the end
    // Saves a fixed content to path; returns one "text | caption" line per box shown.
    std::string (*save)(const std::string& path);
    std::string (*expected)(); // the bytes a successful save writes
};

std::vector<const Saver*> savers();

} // namespace tavo::testing
