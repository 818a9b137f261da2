#include "harness.hpp"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include <unistd.h>

namespace fs = std::filesystem;

namespace qt {

std::string readFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

void writeFile(const std::string& path, const std::string& text) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f << text;
}

bool exists(const std::string& path) { return fs::exists(path); }

std::string freshDir(const std::string& name) {
    fs::path d = fs::path(TEST_TMP) / name;
    fs::remove_all(d);
    fs::create_directories(d);
    return d.string();
}

static std::string quote(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

int shell(const std::string& cmd, const std::string& cwd, std::string& output) {
    // ctest runs each test in a process of its own, in parallel: the name
    // carries the process id so two tests never share an output file.
    static int counter = 0;
    std::string out = (fs::path(TEST_TMP) / ("shell-" + std::to_string(getpid()) + "-" +
                                             std::to_string(++counter) + ".txt")).string();
    fs::create_directories(TEST_TMP);
    std::string full = "cd " + quote(cwd) + " && " + cmd + " > " + quote(out) + " 2>&1 < /dev/null";
    int st = std::system(full.c_str());
    output = readFile(out);
    fs::remove(out);
    return WEXITSTATUS(st);
}

int runQuarl(const std::vector<std::string>& args, const std::string& cwd, std::string& output) {
    std::string cmd = quote(QUARL_BIN);
    for (const auto& a : args) cmd += " " + quote(a);
    return shell(cmd, cwd, output);
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> v;
    std::istringstream in(text);
    std::string l;
    while (std::getline(in, l)) v.push_back(l);
    return v;
}

std::vector<std::string> words(const std::string& text) {
    std::vector<std::string> v;
    std::istringstream in(text);
    std::string w;
    while (in >> w) v.push_back(w);
    return v;
}

std::multimap<int, int> reportedMessages(const std::string& lnt, const std::string& path) {
    std::multimap<int, int> m;
    const std::regex re(R"(^\((\d+)\): (error|warning|FYI) (\d+): )");
    for (const auto& l : lines(lnt)) {
        if (l.compare(0, path.size(), path) != 0) continue;
        std::string rest = l.substr(path.size());
        std::smatch sm;
        if (std::regex_search(rest, sm, re)) m.emplace(std::stoi(sm[1]), std::stoi(sm[3]));
    }
    return m;
}

}  // namespace qt
