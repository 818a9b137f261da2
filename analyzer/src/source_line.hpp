// One physical source line with its origin, after preprocessing and INCLUDE expansion.
#pragma once
#include <string>

namespace quarl {

struct SourceLine {
    std::string text;
    int file = 0;   // index into the run's file table
    int line = 0;   // 1-based line number in that file
    bool free = false;
    bool inactive = false;  // removed by the preprocessor (counts as a comment line)
    bool repeat = false;    // from a file included before: not counted again
};

}  // namespace quarl
