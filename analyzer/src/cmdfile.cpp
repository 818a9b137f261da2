#include "cmdfile.hpp"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace quarl {

std::vector<std::string> parseCommandText(const std::string& text) {
    std::vector<std::string> items;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        size_t b = line.find_first_not_of(" \t\r\f\v");
        if (b == std::string::npos) continue;
        size_t e = line.find_last_not_of(" \t\r\f\v");
        std::string item = line.substr(b, e - b + 1);
        if (item[0] == '!') continue;
        std::string clean;
        clean.reserve(item.size());
        for (char c : item)
            if (c != '"') clean += c;
        if (!clean.empty()) items.push_back(clean);
    }
    return items;
}

bool readRegularFile(const std::string& path, std::string& out, std::string& why) {
    std::error_code ec;
    auto st = std::filesystem::status(path, ec);
    if (ec || !std::filesystem::exists(st)) {
        why = "no such file";
        return false;
    }
    // Only regular files: a FIFO or device would block or never end.
    if (!std::filesystem::is_regular_file(st)) {
        why = "not a regular file";
        return false;
    }
    std::ifstream f(path, std::ios::binary);
    if (!f) {
        why = std::strerror(errno);
        return false;
    }
    std::error_code sizeError;
    auto size = std::filesystem::file_size(path, sizeError);
    out.clear();
    if (!sizeError) out.reserve(static_cast<size_t>(size));
    char buf[65536];
    while (f.read(buf, sizeof buf) || f.gcount() > 0) out.append(buf, static_cast<size_t>(f.gcount()));
    if (f.bad()) {
        why = "read error";
        return false;
    }
    return true;
}

}  // namespace quarl
