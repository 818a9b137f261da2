// libFuzzer target over the whole pipeline. The input is a command file and
// a source file separated by the first NUL byte. Switches that name places
// to write (-S, -o, -E) are dropped and a report base in a private
// directory is added, so that fuzzed input can only write there.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "driver.hpp"

namespace fs = std::filesystem;

namespace {

const fs::path& workDir() {
    static const fs::path dir = [] {
        fs::path d = fs::temp_directory_path() / ("quarl-fuzz-" + std::to_string(::getpid()));
        fs::create_directories(d);
        return d;
    }();
    return dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string in(reinterpret_cast<const char*>(data), size);
    size_t nul = in.find('\0');
    std::string cmd = nul == std::string::npos ? std::string() : in.substr(0, nul);
    std::string src = nul == std::string::npos ? in : in.substr(nul + 1);
    const fs::path& dir = workDir();
    // The first byte of the source part picks the file name, so both forms
    // and the preprocessor's own extension are reached.
    const char* names[] = {"src.f", "src.f90", "src.F", "src.inc"};
    fs::path source = dir / names[src.empty() ? 0 : static_cast<unsigned char>(src[0]) % 4];
    if (!src.empty()) src.erase(0, 1);
    {
        std::ofstream f(source, std::ios::binary | std::ios::trunc);
        f << src;
    }
    {
        // the same bytes as a library description, read through -I
        std::ofstream f(dir / "fz.lbt", std::ios::binary | std::ios::trunc);
        f << src;
    }
    std::ostringstream filtered;
    std::istringstream lines(cmd);
    std::string line;
    while (std::getline(lines, line)) {
        size_t b = line.find_first_not_of(" \t\"");
        if (b != std::string::npos && line[b] == '-' && b + 1 < line.size() &&
            (line[b + 1] == 'S' || line[b + 1] == 'o' || line[b + 1] == 'E'))
            continue;
        if (b != std::string::npos && line[b] != '-' && line[b] != '!') continue;  // no other files
        filtered << line << "\n";
    }
    filtered << "-I" << dir.string() << "\n-S" << (dir / "fz").string() << "\n" << source.string() << "\n";
    fs::path cmdFile = dir / "cmd";
    {
        std::ofstream f(cmdFile, std::ios::binary | std::ios::trunc);
        f << filtered.str();
    }
    std::ostringstream console;
    quarl::run({"-o", (dir / "fz.out").string(), "-E" + cmdFile.string()}, console);
    return 0;
}
