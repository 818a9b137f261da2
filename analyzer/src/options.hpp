// Switches of one run: parsing of the argument list, defaults, help text.
#pragma once
#include <string>
#include <vector>

#include "catalog.hpp"

namespace quarl {

enum class SourceForm { Automatic, Fixed, Free };

struct TreeOptions {
    bool condensed = true;   // each callee once per caller
    bool alphabetic = false; // callees sorted by name
    bool squish = false;     // narrow indentation
    bool trim = true;        // a subtree already shown is referred to, not repeated
    bool noLibrary = false;  // omit intrinsic and library routines
    bool noUndefined = false;
    std::vector<std::string> heads;  // roots; empty: the main programs
};

struct XrefOptions {
    bool lineNumbers = false;  // free-form layout with line numbers
    bool lower = false;
    bool tabular = false;      // fixed 132-column layout
    std::vector<std::string> filters;
};

struct Options {
    std::string outFile;     // -o: console output
    std::string cmdFile;     // -E: command file
    std::vector<std::string> includeDirs;
    std::vector<std::string> files;

    bool cols132 = false;       // -e
    bool ansiMaxloc = false;    // -a
    bool callTree = false;      // -t
    TreeOptions tree;
    bool preprocess = false;    // -p
    std::vector<std::pair<std::string, std::string>> defines;  // -D
    std::vector<std::string> undefines;                        // -U
    bool dataFlow = false;      // -Fon
    bool usage = true;          // -u
    bool debugLines = false;    // -d
    bool hpf = false;           // -Mhpf
    bool globalMode = false;    // -g
    bool ignorePaths = false;   // -Mignore_paths
    bool ignoreLogicals = false;// -Mignore_logicals
    bool implicitTyping = false;// -m
    bool useLbtFirst = false;   // -Muselbt
    bool listing = false;       // -l
    bool statistics = false;    // -s
    bool twoByteInts = false;   // -2
    bool xref = false;          // -x
    XrefOptions xrefOpts;
    std::vector<std::string> targets;  // -P
    std::string reportBase;     // -S
    int language = 0;           // 0 automatic, 77, 90
    std::string dialect;        // -V
    SourceForm form = SourceForm::Automatic;
    int width = 75;             // -W
    bool depend = false;        // -Mdepend
    std::string openmpFile;     // -Mxomp=
    MessageSwitches messages;

    bool help = false;
    bool listMessages = false;
    bool version = false;

    std::vector<std::string> switchesGiven;  // in order, for the report header
    std::vector<std::string> unknown;        // unknown or malformed switches
    std::vector<std::string> notes;          // accepted switches with a remark
};

// Applies the arguments in order. Never fails: unknown switches are recorded.
void parseArguments(const std::vector<std::string>& args, Options& opt);

// The analyzer's built-in defaults, as switches.
std::vector<std::string> defaultSwitches();

std::string helpText();

extern const char* const kKnownTargets[];
extern const char* const kKnownXrefFilters[];

}  // namespace quarl
