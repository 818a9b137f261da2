// Library description (LBT) files: the interfaces of routines that are
// not in the analyzed sources, one per line:
//   SUBROUTINE name nargs
//   FUNCTION name type nargs
// with "!" comment lines. They are read from the -I directories and from
// $QUARLHOME (every file ending in .lbt).
#pragma once
#include <map>
#include <string>
#include <vector>

#include "symbols.hpp"

namespace quarl {

struct LibraryRoutine {
    std::string name;
    UnitKind kind = UnitKind::Subroutine;
    std::string type;  // functions
    int nargs = 0;
    std::string file;
    int line = 0;
};

class Library {
public:
    // Reads the .lbt files of the directories; malformed lines are listed
    // in `problems` ("file(line): reason").
    void load(const std::vector<std::string>& dirs, std::vector<std::string>& problems);
    // Parses the text of one file.
    void add(const std::string& text, const std::string& file, std::vector<std::string>& problems);
    const LibraryRoutine* find(const std::string& name) const;
    const std::vector<std::string>& files() const { return files_; }
    bool empty() const { return routines_.empty(); }

private:
    std::map<std::string, LibraryRoutine> routines_;
    std::vector<std::string> files_;
};

}  // namespace quarl
