// Reads source files: form detection, preprocessing, INCLUDE expansion,
// and assembly of physical lines into statements (continuations, comments,
// labels, debug lines, directives, tabs), with line statistics per file.
#pragma once
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "diagnostics.hpp"
#include "options.hpp"
#include "preprocessor.hpp"
#include "source_line.hpp"

namespace quarl {

struct SourceFile {
    std::string path;
    bool free = false;
    bool isInclude = false;
    bool readOk = false;
    int lines = 0, code = 0, comments = 0, blank = 0, statements = 0;
    std::vector<int> includes;  // files included directly, each once, in order
    std::vector<char> lineSeen; // a line is counted once even when included twice
    int expansions = 0;
    double seconds = 0;
};

struct Statement {
    int file = 0;
    int line = 0;
    int lastLine = 0;
    std::string label;
    std::string text;
    bool directive = false;  // an HPF directive line
    bool repeat = false;     // from a repeated inclusion (not counted in the statistics)
};

using StatementSink = std::function<void(Statement&&)>;

class SourceReader {
public:
    SourceReader(const Options& opt, Diagnostics& diags, std::vector<SourceFile>& files)
        : opt_(opt), diags_(diags), files_(files) {}

    // The file table index of a top-level file (entered when new).
    int fileFor(const std::string& path);

    // Reads one top-level source file and hands each statement to `sink` as
    // soon as it is complete, so the whole file is never held as statements.
    // False when the file itself cannot be read (reported as message 1).
    bool load(const std::string& path, const StatementSink& sink);
    bool load(const std::string& path, std::vector<Statement>& out);

    // Form of a file by switch, extension and content.
    static bool detectFree(const std::string& path, const std::vector<std::string>& lines, SourceForm forced,
                           bool parentFree, bool isInclude);

private:
    const Options& opt_;
    Diagnostics& diags_;
    std::vector<SourceFile>& files_;
    std::map<std::string, int> index_;
    std::vector<int> stack_;
    bool warnedOpenmp_ = false;
    std::unique_ptr<Preprocessor> pp_;  // one per top-level file, shared with its includes

    struct Assembly {
        Statement cur;
        bool open = false;
        bool freeCont = false;  // free form: previous line ended in "&"
        char quote = 0;
    };
    using LineSink = std::function<void(SourceLine&&)>;

    int fileIndex(const std::string& path, bool isInclude);
    void expandFile(int file, bool parentFree, const LineSink& sink);
    void includeInto(const std::string& name, int fromFile, int line, const LineSink& sink);
    std::string resolveInclude(const std::string& name, int fromFile) const;
    void assemble(const std::vector<SourceLine>& lines, Assembly& st, const StatementSink& sink, bool last);
};

// Splits lines at \n, dropping \r before it and turning NUL into blanks.
std::vector<std::string> splitLines(const std::string& text);

}  // namespace quarl
