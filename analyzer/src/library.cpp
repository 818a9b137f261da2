#include "library.hpp"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <set>
#include <sstream>

#include "cmdfile.hpp"

namespace fs = std::filesystem;

namespace quarl {

namespace {

std::string upper(std::string s) {
    for (auto& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

bool number(const std::string& s, int& v) {
    if (s.empty() || s.size() > 4 || !std::all_of(s.begin(), s.end(), [](unsigned char c) { return std::isdigit(c); }))
        return false;
    v = std::stoi(s);
    return true;
}

}  // namespace

void Library::add(const std::string& text, const std::string& file, std::vector<std::string>& problems) {
    std::istringstream in(text);
    std::string line;
    int lineNo = 0;
    while (std::getline(in, line)) {
        ++lineNo;
        size_t bang = line.find('!');
        if (bang != std::string::npos) line.resize(bang);
        std::istringstream words(line);
        std::vector<std::string> w;
        for (std::string x; words >> x;) w.push_back(upper(x));
        if (w.empty()) continue;
        LibraryRoutine r;
        r.file = file;
        r.line = lineNo;
        bool ok = false;
        if (w[0] == "SUBROUTINE" && w.size() == 3) {
            r.kind = UnitKind::Subroutine;
            r.name = w[1];
            ok = number(w[2], r.nargs);
        } else if (w[0] == "FUNCTION" && w.size() == 4) {
            r.kind = UnitKind::Function;
            r.name = w[1];
            r.type = w[2] == "DOUBLE" ? "DOUBLE PRECISION" : w[2];
            ok = number(w[3], r.nargs);
        }
        if (!ok) {
            problems.push_back(file + "(" + std::to_string(lineNo) + "): not a routine description");
            continue;
        }
        routines_.emplace(r.name, r);  // the first description of a name counts
    }
    files_.push_back(file);
}

void Library::load(const std::vector<std::string>& dirs, std::vector<std::string>& problems) {
    std::set<std::string> seen;
    for (const auto& d : dirs) {
        std::error_code ec;
        if (!fs::is_directory(d, ec)) continue;
        std::vector<std::string> found;
        for (fs::directory_iterator it(d, ec), end; !ec && it != end; it.increment(ec)) {
            const fs::path& p = it->path();
            if (p.extension() != ".lbt" && p.extension() != ".LBT") continue;
            std::error_code rc;
            if (!fs::is_regular_file(p, rc)) continue;
            found.push_back(p.string());
        }
        std::sort(found.begin(), found.end());
        for (const auto& f : found) {
            std::string key = fs::weakly_canonical(f, ec).string();
            if (!seen.insert(key.empty() ? f : key).second) continue;
            std::string text, why;
            if (readRegularFile(f, text, why)) add(text, f, problems);
            else problems.push_back(f + ": " + why);
        }
    }
}

const LibraryRoutine* Library::find(const std::string& name) const {
    auto it = routines_.find(name);
    return it == routines_.end() ? nullptr : &it->second;
}

}  // namespace quarl
