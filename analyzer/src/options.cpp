#include "options.hpp"

#include <algorithm>
#include <cctype>
#include <sstream>

namespace quarl {

const char* const kKnownTargets[] = {"ANSI77", "ANSI90", "CRAY",  "DECNT", "DECUNIX", "DECVMS", "EPC",
                                     "HPUX",   "LAHEY",  "SGI",   "SUN",   "VAXULTRIX", nullptr};

const char* const kKnownXrefFilters[] = {"no_unreferenced_parameters", "no_unused_common_variables",
                                         "no_unreferenced_variables",  "no_parameters",
                                         "no_common_variables",        "no_intrinsics",
                                         "no_locals",                  "no_routines", nullptr};

namespace {

std::string upper(std::string s) {
    for (auto& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

bool inList(const char* const* list, const std::string& s) {
    for (; *list; ++list)
        if (s == *list) return true;
    return false;
}

bool allDigits(const std::string& s) {
    return !s.empty() && s.size() < 9 &&
           std::all_of(s.begin(), s.end(), [](unsigned char c) { return std::isdigit(c); });
}

bool isSymbolName(const std::string& s) {
    if (s.empty() || !(std::isalpha(static_cast<unsigned char>(s[0])) || s[0] == '_')) return false;
    return std::all_of(s.begin(), s.end(),
                       [](unsigned char c) { return std::isalnum(c) || c == '_' || c == '$'; });
}

// Single-letter switches with an ON form "-x" and an OFF form "--x".
bool* flagFor(Options& o, char c) {
    switch (c) {
        case 'e': return &o.cols132;
        case 'a': return &o.ansiMaxloc;
        case 't': return &o.callTree;
        case 'p': return &o.preprocess;
        case 'u': return &o.usage;
        case 'd': return &o.debugLines;
        case 'f': return &o.messages.fyis;
        case 'g': return &o.globalMode;
        case 'm': return &o.implicitTyping;
        case 'l': return &o.listing;
        case 's': return &o.statistics;
        case '2': return &o.twoByteInts;
        case 'w': return &o.messages.warnings;
        case 'x': return &o.xref;
        default: return nullptr;
    }
}

bool treeSwitch(Options& o, const std::string& v) {
    TreeOptions& t = o.tree;
    std::string l = v;
    for (auto& c : l) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (l == "condensed") t.condensed = true;
    else if (l == "nocondensed") t.condensed = false;
    else if (l == "alphabetic" || l == "alpha") t.alphabetic = true;
    else if (l == "noalpha" || l == "noalphabetic") t.alphabetic = false;
    else if (l == "squish") t.squish = true;
    else if (l == "nosquish") t.squish = false;
    else if (l == "trim") t.trim = true;
    else if (l == "notrim") t.trim = false;
    else if (l == "nolibrary") t.noLibrary = true;
    else if (l == "library") t.noLibrary = false;
    else if (l == "noundefined") t.noUndefined = true;
    else if (l == "undefined") t.noUndefined = false;
    else if (l.rfind("head", 0) == 0) {
        size_t p = 4;
        while (p < v.size() && (v[p] == ':' || v[p] == '=')) ++p;
        std::string name = upper(v.substr(p));
        if (p == 4 || !isSymbolName(name)) return false;
        t.heads.push_back(name);
    } else {
        return false;
    }
    return true;
}

bool messageSwitch(Options& o, const std::string& a) {
    // a is "-O..." ; "-O+n", "-O+all", "-On", "-Oall", optional "=" after the sign
    size_t p = 2;
    bool enable = false;
    if (p < a.size() && a[p] == '+') {
        enable = true;
        ++p;
    }
    if (p < a.size() && a[p] == '=') ++p;
    std::string v = a.substr(p);
    std::string lv = v;
    for (auto& c : lv) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lv == "all") {
        if (enable) o.messages.enableAll();
        else o.messages.disableAll();
        return true;
    }
    if (!allDigits(v)) return false;
    long n = std::stol(v);
    if (n < 1 || n > 32000) return false;
    if (!findMessage(static_cast<int>(n))) {
        o.notes.push_back(a + ": there is no message " + v + "; switch has no effect");
    }
    if (enable) o.messages.enable(static_cast<int>(n));
    else o.messages.disable(static_cast<int>(n));
    return true;
}

bool longSwitch(Options& o, const std::string& a) {
    const std::string v = a.substr(2);
    switch (a[1]) {
        case 'I':
            if (v.empty()) return false;
            o.includeDirs.push_back(v);
            return true;
        case 'T': return treeSwitch(o, v);
        case 'F':
            if (v == "on") o.dataFlow = true;
            else if (v == "off") o.dataFlow = false;
            else return false;
            return true;
        case 'M':
            if (v == "hpf") o.hpf = true;
            else if (v == "nohpf") o.hpf = false;
            else if (v == "ignore_paths") o.ignorePaths = true;
            else if (v == "noignore_paths") o.ignorePaths = false;
            else if (v == "ignore_logicals") o.ignoreLogicals = true;
            else if (v == "noignore_logicals") o.ignoreLogicals = false;
            else if (v == "uselbt") o.useLbtFirst = true;
            else if (v == "nouselbt") o.useLbtFirst = false;
            else if (v == "depend") o.depend = true;
            else if (v == "nodepend") o.depend = false;
            else if (v.rfind("xomp=", 0) == 0) {
                o.openmpFile = v.substr(5);
                o.notes.push_back(a + ": OpenMP analysis is not available in this analyzer");
            } else return false;
            return true;
        case 'X': {
            std::string l = v;
            if (!l.empty() && l[0] == '=') l.erase(0, 1);
            for (auto& c : l) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            if (l == "linenumbers") o.xrefOpts.lineNumbers = true;
            else if (l == "nolinenumbers") o.xrefOpts.lineNumbers = false;
            else if (l == "lower") o.xrefOpts.lower = true;
            else if (l == "nolower") o.xrefOpts.lower = false;
            else if (l == "tabular") o.xrefOpts.tabular = true;
            else if (l == "notabular") o.xrefOpts.tabular = false;
            else if (inList(kKnownXrefFilters, l)) {
                if (std::find(o.xrefOpts.filters.begin(), o.xrefOpts.filters.end(), l) ==
                    o.xrefOpts.filters.end())
                    o.xrefOpts.filters.push_back(l);
            } else return false;
            return true;
        }
        case 'P': {
            std::string t = upper(v);
            if (!inList(kKnownTargets, t)) return false;
            if (std::find(o.targets.begin(), o.targets.end(), t) == o.targets.end()) o.targets.push_back(t);
            return true;
        }
        case 'S':
            if (v.empty()) return false;
            o.reportBase = v;
            return true;
        case 'V': {
            std::string d = upper(v);
            if (!inList(kKnownTargets, d)) return false;
            o.dialect = d;
            return true;
        }
        case 'R': {
            std::string l = v;
            for (auto& c : l) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            if (l == "free") o.form = SourceForm::Free;
            else if (l == "fixed") o.form = SourceForm::Fixed;
            else if (l == "auto" || l == "automatic") o.form = SourceForm::Automatic;
            else return false;
            return true;
        }
        case 'W':
            if (!allDigits(v)) return false;
            o.width = std::max(50, std::min(150, std::stoi(v)));
            if (std::to_string(o.width) != v)
                o.notes.push_back(a + ": report width limited to " + std::to_string(o.width));
            return true;
        case 'O': return messageSwitch(o, a);
        case 'D': {
            size_t eq = v.find('=');
            std::string name = v.substr(0, eq);
            if (!isSymbolName(name)) return false;
            o.defines.emplace_back(name, eq == std::string::npos ? std::string("1") : v.substr(eq + 1));
            return true;
        }
        case 'U':
            if (!isSymbolName(v)) return false;
            o.undefines.push_back(v);
            return true;
        default: return false;
    }
}

}  // namespace

void parseArguments(const std::vector<std::string>& args, Options& opt) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.empty()) continue;
        if (a == "--help" || a == "-h") {
            opt.help = true;
            continue;
        }
        if (a == "--list-messages") {
            opt.listMessages = true;
            continue;
        }
        if (a == "--version") {
            opt.version = true;
            continue;
        }
        if (a[0] != '-' || a.size() == 1) {
            opt.files.push_back(a);
            continue;
        }
        // -o and -E take their value attached or as the next argument.
        if (a[1] == 'o' || a[1] == 'E') {
            std::string v = a.substr(2);
            if (v.empty() && i + 1 < args.size()) v = args[++i];
            if (v.empty()) {
                opt.unknown.push_back(a);
                continue;
            }
            (a[1] == 'o' ? opt.outFile : opt.cmdFile) = v;
            continue;
        }
        if (a[1] == 'I' && a.size() == 2 && i + 1 < args.size()) {
            opt.includeDirs.push_back(args[++i]);
            opt.switchesGiven.push_back("-I" + args[i]);
            continue;
        }
        bool ok = false;
        if (a.size() == 2) {
            if (a[1] == '9' || a[1] == '7') {
                opt.language = a[1] == '9' ? 90 : 77;
                ok = true;
            } else if (bool* f = flagFor(opt, a[1])) {
                *f = true;
                ok = true;
            }
        } else if (a.size() == 3 && a[1] == '-') {
            if (bool* f = flagFor(opt, a[2])) {
                *f = false;
                ok = true;
            }
        } else {
            ok = longSwitch(opt, a);
        }
        if (ok) opt.switchesGiven.push_back(a);
        else opt.unknown.push_back(a);
    }
}

std::vector<std::string> defaultSwitches() {
    return {"--e", "--a", "--t", "-Tcondensed", "-Tnoalpha", "-Tnosquish", "-Ttrim", "-Tlibrary",
            "-Tundefined", "--p", "-Foff", "-u", "--d", "-Mnohpf", "--f", "--g", "--m", "--l",
            "--s", "--2", "-w", "--x", "-Rauto", "-W75"};
}

std::string helpText() {
    std::ostringstream o;
    o << "Usage: quarl -o OUTFILE -ECMDFILE\n"
         "       quarl [switches] files...\n"
         "\n"
         "The command file holds comment lines beginning with \"!\", then one switch\n"
         "per line, then one source file per line; items with blanks in double quotes.\n"
         "Single-letter switches have an ON form -x and an OFF form --x.\n"
         "\n"
         "  -o FILE          console output to FILE\n"
         "  -EFILE           read switches and files from the command file FILE\n"
         "  -IDIR            search DIR for INCLUDE files\n"
         "  -e / --e         132-column fixed-form lines (default 72)\n"
         "  -a / --a         ANSI MAXLOC/MINLOC rules\n"
         "  -t / --t         write the call tree (.tre)\n"
         "  -Tcondensed / -Tnocondensed   each callee once per caller\n"
         "  -Talphabetic / -Tnoalpha      callees sorted by name\n"
         "  -Tsquish / -Tnosquish         narrow indentation\n"
         "  -Ttrim / -Tnotrim             show a repeated subtree once\n"
         "  -Tnolibrary / -Tlibrary       omit intrinsic routines\n"
         "  -Tnoundefined / -Tundefined   omit routines that are not defined\n"
         "  -Thead:NAME      start a call tree at NAME (repeatable)\n"
         "  -p / --p         run the preprocessor (#define, #if..., #include)\n"
         "  -DNAME[=VALUE]   define a preprocessor symbol\n"
         "  -UNAME           undefine a preprocessor symbol\n"
         "  -Fon / -Foff     data-flow analysis (use before set)\n"
         "  -u / --u         data usage checks (unused, set but unused, unset)\n"
         "  -d / --d         treat debug lines (D in column 1) as code\n"
         "  -Mhpf / -Mnohpf  recognise HPF directives\n"
         "  -f / --f         report FYI messages\n"
         "  -g / --g         global (inter-unit) checks and global cross-reference\n"
         "  -Mignore_paths   strip directories from INCLUDE names\n"
         "  -Mignore_logicals  strip VMS logicals (NAME:) from INCLUDE names\n"
         "  -m / --m         report implicitly typed names\n"
         "  -Muselbt         library descriptions (.lbt) before the sources' routines\n"
         "  -l / --l         source listing in the analysis report\n"
         "  -s / --s         write statistics (.stt)\n"
         "  -2 / --2         INTEGER and LOGICAL are two bytes long\n"
         "  -w / --w         report warnings\n"
         "  -x / --x         write the cross-reference (.xrf)\n"
         "  -Xlinenumbers    free-form cross-reference with line numbers\n"
         "  -Xlower          lower-case names in the cross-reference\n"
         "  -Xtabular        tabular 132-column cross-reference\n"
         "  -XFILTER         cross-reference filter:";
    for (const char* const* f = kKnownXrefFilters; *f; ++f) o << (f == kKnownXrefFilters ? " " : ", ") << *f;
    o << "\n  -PTARGET         portability checks for TARGET:";
    for (const char* const* t = kKnownTargets; *t; ++t) o << ' ' << *t;
    o << "\n"
         "  -SBASE           report base: BASE.lnt, BASE.stt, BASE.tre, BASE.xrf\n"
         "                   (default: quarl in the current directory)\n"
         "  -9 / -7          Fortran 90/95 or Fortran 77\n"
         "  -Mdepend         include dependencies in the statistics\n"
         "  -VDIALECT        dialect (one of the targets above)\n"
         "  -Rfree / -Rfixed source form (default: by extension and content)\n"
         "  -WN              report width, 50 to 150 (default 75)\n"
         "  -ON / -Oall      disable message N / all messages\n"
         "  -O+N / -O+all    enable message N / all messages\n"
         "  --list-messages  print the message catalog\n"
         "  --version        print the version\n"
         "  --help           this text\n"
         "\n"
         "Library descriptions: files ending in .lbt in the -I directories and in\n"
         "$QUARLHOME describe routines that are not in the sources, one a line:\n"
         "  SUBROUTINE name nargs\n"
         "  FUNCTION name type nargs\n";
    return o.str();
}

}  // namespace quarl
