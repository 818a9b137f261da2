// What every report shares: the banner, the option blocks, line wrapping,
// and writing a report file.
#pragma once
#include <string>
#include <vector>

#include "diagnostics.hpp"
#include "library.hpp"
#include "options.hpp"
#include "program_index.hpp"
#include "source_reader.hpp"
#include "symbols.hpp"

namespace quarl {

extern const char* const kVersion;

struct RunContext {
    const Options& opt;
    const std::vector<SourceFile>& files;
    const Program& prog;
    const ProgramIndex& index;
    const Diagnostics& diags;
    const Library& library;
    std::string date;
    double seconds = 0;
    std::vector<int> topFiles;  // indices of the analyzed (non-include) files
};

std::string bannerLine(const std::string& date, const std::string& title);

// Banner, blank line, "Default options:" block, "Command options:" block
// and a blank line.
std::string reportHeader(const RunContext& ctx, const std::string& title);

// Words packed into lines of at most `width` characters, each line starting
// with `indent` blanks (a word longer than the room stands alone).
std::vector<std::string> wrapWords(const std::vector<std::string>& words, size_t width, size_t indent);

std::string pad(const std::string& s, size_t n);
std::string padLeft(const std::string& s, size_t n);

}  // namespace quarl
