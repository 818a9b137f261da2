// ftnchek, an independent Fortran 77 checker, as the oracle: on our
// Fortran 77 sources the call graph of our call tree is the one ftnchek
// lists, and each variable that ftnchek finds unused or of undeclared type
// is reported by us as well.
#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "harness.hpp"

namespace {

using Graph = std::map<std::string, std::set<std::string>>;

struct Finding {
    std::string unit, name, kind;  // kind: "unused" or "undeclared"
    bool operator<(const Finding& o) const {
        return std::tie(unit, name, kind) < std::tie(o.unit, o.name, o.kind);
    }
};

// Differences on purpose: (source, caller, callee, why).
struct Exception {
    const char* caller;
    const char* callee;
    const char* why;
};
// A routine that a unit only passes on as an EXTERNAL argument: ftnchek
// lists it as referenced by that unit, our tree shows calls only (the call
// through the dummy argument cannot be resolved statically).
const Exception kGraphExceptions[] = {
    {"GLOBAL", "FUN2", "FUN2 is only passed to APPLY as an EXTERNAL argument"},
    {"IDIOMS", "FCN", "FCN is only passed to QUAD as an EXTERNAL argument"},
};

void parseFtnchek(const std::string& text, Graph& graph, std::set<Finding>& findings) {
    std::vector<std::string> ls = qt::lines(text);
    static const std::regex header(R"(^Warning in module (\S+) in file \S+: (.*)$)");
    bool inRefs = false;
    std::string current;
    for (size_t i = 0; i < ls.size(); ++i) {
        std::smatch m;
        if (std::regex_match(ls[i], m, header)) {
            std::string unit = m[1], what = m[2];
            while (i + 1 < ls.size() && ls[i + 1].size() > 1 && ls[i + 1][0] == ' ' && ls[i + 1][1] != ' ')
                what += ls[++i];
            std::string kind;
            if (what.find("declared but never") != std::string::npos || what.find("set but never used") != std::string::npos)
                kind = "unused";
            else if (what.find("Identifiers of undeclared type") != std::string::npos)
                kind = "undeclared";
            // item lines: four blanks and a name (echoed source lines start
            // with a line number instead)
            static const std::regex item(R"(^    ([A-Za-z][A-Za-z0-9_$]*|<\d+>) .*)");
            std::smatch im;
            while (i + 1 < ls.size() && std::regex_match(ls[i + 1], im, item)) {
                ++i;
                if (!kind.empty()) findings.insert({unit, im[1], kind});
            }
            continue;
        }
        if (ls[i].rfind("List of subprogram references:", 0) == 0) {
            inRefs = true;
            continue;
        }
        if (!inRefs) continue;
        if (ls[i].empty() || ls[i].rfind("Warning", 0) == 0) {
            inRefs = false;
            continue;
        }
        size_t calls = ls[i].find(" calls:");
        if (calls != std::string::npos && ls[i][0] != ' ') {
            current = ls[i].substr(0, calls);
            graph[current];
            continue;
        }
        // "SOLVE entry RESET" names the entry RESET of SOLVE
        std::vector<std::string> ws = qt::words(ls[i]);
        for (size_t w = 0; w < ws.size(); ++w) {
            if (w + 2 < ws.size() && ws[w + 1] == "entry") {
                graph[current].insert(ws[w + 2]);
                w += 2;
                continue;
            }
            graph[current].insert(ws[w]);
        }
    }
}

// Edges of our call tree: indentation shows depth (four blanks a level).
Graph parseTree(const std::string& tre, std::set<std::string>& expanded) {
    Graph g;
    std::vector<std::string> ls = qt::lines(tre);
    size_t i = 0;
    while (i < ls.size() && ls[i].rfind("Command options:", 0) != 0) ++i;
    while (i < ls.size() && !ls[i].empty()) ++i;
    std::vector<std::string> stack;
    for (; i < ls.size(); ++i) {
        const std::string& l = ls[i];
        size_t b = l.find_first_not_of(' ');
        if (b == std::string::npos || l.rfind("***", 0) == 0) continue;
        size_t depth = b / 4;
        std::string name = qt::words(l).at(0);
        stack.resize(depth);
        if (depth > 0) g[stack.back()].insert(name);
        if (l.find("(see above)") == std::string::npos && l.find("(undefined)") == std::string::npos &&
            l.find("(recursive)") == std::string::npos)
            expanded.insert(name);
        g[name];
        stack.push_back(name);
    }
    return g;
}

std::set<Finding> parseOurs(const std::string& lnt) {
    std::set<Finding> out;
    static const std::regex msg(R"(: (?:error|warning|FYI) (\d+): (.*) \[in (\S+)\]$)");
    static const std::regex named(R"((?:variable|argument|PARAMETER|function) ([A-Z0-9_$%]+) )");
    static const std::regex implicit(R"(^([A-Z0-9_$%]+) is implicitly typed)");
    for (const auto& l : qt::lines(lnt)) {
        std::smatch m, n;
        if (!std::regex_search(l, m, msg)) continue;
        int num = std::stoi(m[1]);
        std::string text = m[2], unit = m[3];
        if ((num == 101 || num == 102 || num == 103 || num == 112 || num == 176 || num == 207) &&
            std::regex_search(text, n, named))
            out.insert({unit, n[1], "unused"});
        if (num == 111 && std::regex_search(text, n, implicit)) out.insert({unit, n[1], "undeclared"});
    }
    return out;
}

std::set<std::string> reach(const Graph& g, const std::string& root) {
    std::set<std::string> seen;
    std::vector<std::string> todo = {root};
    while (!todo.empty()) {
        std::string n = todo.back();
        todo.pop_back();
        if (!seen.insert(n).second) continue;
        auto it = g.find(n);
        if (it != g.end())
            for (const auto& c : it->second) todo.push_back(c);
    }
    return seen;
}

struct Case {
    const char* name;
    const char* dir;  // "fixtures" or "examples"
    std::vector<const char*> files;
    const char* main;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class Oracle : public ::testing::TestWithParam<Case> {};

TEST_P(Oracle, CallGraphAndUnusedAndUndeclaredFindingsAgree) {
    const Case& c = GetParam();
    std::string dir = std::string(c.dir) == "fixtures" ? FIXTURE_DIR : EXAMPLE_DIR;
    std::string files;
    for (const char* f : c.files) files += std::string(" ") + f;
    std::string ft;
    int st = qt::shell("ftnchek -quiet -declare -calltree=reference -usage=all" + files, dir, ft);
    ASSERT_NE(ft.find("List of subprogram references"), std::string::npos)
        << "ftnchek did not run (status " << st << "); scripts/install-deps installs it\n" << ft;
    Graph theirs;
    std::set<Finding> theirFindings;
    parseFtnchek(ft, theirs, theirFindings);

    std::string work = qt::freshDir(std::string("oracle-") + c.name);
    std::vector<std::string> args = {"-g", "-u", "-m", "-O+all", "-t", "-Tnolibrary", "-S" + work + "/r"};
    for (const char* f : c.files) args.push_back(dir + "/" + f);
    std::string out;
    ASSERT_EQ(qt::runQuarl(args, dir, out), 0) << out;
    std::set<std::string> expanded;
    Graph ours = parseTree(qt::readFile(work + "/r.tre"), expanded);
    std::set<Finding> ourFindings = parseOurs(qt::readFile(work + "/r.lnt"));

    for (const auto& e : kGraphExceptions) {
        auto it = theirs.find(e.caller);
        if (it != theirs.end() && it->second.erase(e.callee)) SUCCEED() << e.why;
    }
    EXPECT_EQ(reach(ours, c.main), reach(theirs, c.main)) << ft << "\n" << qt::readFile(work + "/r.tre");
    for (const auto& n : expanded) {
        if (!theirs.count(n)) continue;  // undefined routines have no entry there
        EXPECT_EQ(ours[n], theirs[n]) << "callees of " << n;
    }
    for (const auto& f : theirFindings)
        EXPECT_TRUE(ourFindings.count(f)) << f.kind << " " << f.name << " in " << f.unit << " (found by ftnchek)\n"
                                          << qt::readFile(work + "/r.lnt");
}

INSTANTIATE_TEST_SUITE_P(
    Fortran77, Oracle,
    ::testing::Values(Case{"usage", "fixtures", {"usage.f"}, "USAGE"},
                      Case{"labels", "fixtures", {"labels.f"}, "LABELS"},
                      Case{"global", "fixtures", {"global.f"}, "GLOBAL"},
                      Case{"calls", "fixtures", {"calls.f"}, "CALLS"},
                      Case{"glued", "fixtures", {"glued.f"}, "GLUED"},
                      Case{"idioms", "fixtures", {"idioms.f"}, "IDIOMS"},
                      Case{"example", "examples", {"heat.f", "solver.f", "plateio.f"}, "HEAT"}),
    [](const ::testing::TestParamInfo<Case>& i) { return std::string(i.param.name); });

}  // namespace
