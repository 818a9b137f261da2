// A small C-style preprocessor for Fortran sources: #define (object-like),
// #undef, #if/#ifdef/#ifndef/#elif/#else/#endif with defined(), #include.
#pragma once
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "diagnostics.hpp"
#include "source_line.hpp"

namespace quarl {

class Preprocessor {
public:
    // Loads an #include'd file (quoted name, including file index and line)
    // and appends its lines to the output.
    using IncludeFn = std::function<void(const std::string& name, int fromFile, int line, std::vector<SourceLine>& out)>;

    Preprocessor(Diagnostics& diags, IncludeFn include) : diags_(diags), include_(std::move(include)) {}

    void define(const std::string& name, const std::string& value) { macros_[name] = value; }
    void undefine(const std::string& name) { macros_.erase(name); }
    bool isDefined(const std::string& name) const { return macros_.count(name) != 0; }

    // Processes the lines of one file. Directive and skipped lines stay in
    // place as inactive lines, so line numbers keep their meaning. One
    // preprocessor serves a file and all it includes, so that macros
    // defined in an included file hold in the including one.
    void process(const std::vector<std::string>& raw, int file, bool free, std::vector<SourceLine>& out);

    // Macro expansion of one line of Fortran text (outside character constants).
    std::string expand(const std::string& text, int file, int line);

    // Value of a #if expression; false with a reason on malformed input.
    bool evaluate(const std::string& expr, long long& value, std::string& why) const;

private:
    Diagnostics& diags_;
    IncludeFn include_;
    std::map<std::string, std::string> macros_;
    // Bytes that expansion may still add in the current file: expansion
    // stays within a fixed multiple of the input, so memory stays linear.
    size_t growthLeft_ = size_t{1} << 20;
    bool budgetReported_ = false;
};

}  // namespace quarl
