// Each fixture names its switches on its first line ("OPTIONS:") and marks
// the expected messages with "C> N ..." (fixed form) or "!> N ..." (free
// form) before the line they belong to. The analysis report must give
// exactly those messages for the fixture file.
#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "harness.hpp"

namespace {

struct Expectations {
    std::vector<std::string> options;
    std::multimap<int, int> messages;
};

bool commentLine(const std::string& l, bool free) {
    size_t b = l.find_first_not_of(" \t");
    if (b == std::string::npos) return true;
    if (l[b] == '#' || l[b] == '!') return true;
    return !free && (l[0] == 'C' || l[0] == 'c' || l[0] == '*');
}

Expectations parseFixture(const std::string& path) {
    Expectations e;
    bool free = path.size() > 4 && path.substr(path.size() - 4) == ".f90";
    std::vector<std::string> ls = qt::lines(qt::readFile(path));
    std::vector<int> pending;
    for (size_t i = 0; i < ls.size(); ++i) {
        const std::string& l = ls[i];
        size_t opt = l.find("OPTIONS:");
        if (i == 0 && opt != std::string::npos) e.options = qt::words(l.substr(opt + 8));
        if (l.rfind("C> ", 0) == 0 || l.rfind("!> ", 0) == 0) {
            for (const auto& w : qt::words(l.substr(3))) pending.push_back(std::stoi(w));
            continue;
        }
        if (!pending.empty() && !commentLine(l, free)) {
            for (int n : pending) e.messages.emplace(static_cast<int>(i + 1), n);
            pending.clear();
        }
    }
    return e;
}

std::string describe(const std::multimap<int, int>& m) {
    std::multiset<std::pair<int, int>> sorted(m.begin(), m.end());
    std::ostringstream o;
    for (const auto& kv : sorted) o << " line " << kv.first << ": " << kv.second << ";";
    return o.str();
}

class Fixture : public ::testing::TestWithParam<const char*> {};

TEST_P(Fixture, ReportsExactlyTheMarkedMessages) {
    const std::string file = std::string(FIXTURE_DIR) + "/" + GetParam();
    Expectations e = parseFixture(file);
    ASSERT_FALSE(e.messages.empty()) << "fixture has no expectations";
    std::string dir = qt::freshDir(std::string("fixture-") + GetParam());
    std::vector<std::string> args = e.options;
    args.push_back("-S" + dir + "/r");
    args.push_back(file);
    std::string out;
    ASSERT_EQ(qt::runQuarl(args, FIXTURE_DIR, out), 0) << out;
    std::string lnt = qt::readFile(dir + "/r.lnt");
    ASSERT_FALSE(lnt.empty()) << out;
    auto got = qt::reportedMessages(lnt, file);
    EXPECT_EQ(describe(got), describe(e.messages)) << lnt;
}

INSTANTIATE_TEST_SUITE_P(Fortran, Fixture,
                         ::testing::Values("usage.f", "labels.f", "global.f", "modern.f90", "optional.f90", "prep.F", "glued.f", "generic.f90", "constructs.f90", "idioms.f"),
                         [](const ::testing::TestParamInfo<const char*>& i) {
                             std::string n = i.param;
                             for (auto& c : n)
                                 if (!isalnum(static_cast<unsigned char>(c))) c = '_';
                             return n;
                         });

// INCLUDE names with directories and VMS logicals are found once the
// switches strip them, and not found without the switches.
TEST(Includes, PathsAndLogicalsAreStrippedOnlyWhenAsked) {
    const std::string file = std::string(FIXTURE_DIR) + "/includes.f";
    std::string dir = qt::freshDir("includes");
    std::string out;
    ASSERT_EQ(qt::runQuarl({"-u", "-Mignore_paths", "-Mignore_logicals", "-Iinc/sub", "-s", "-Mdepend",
                            "-S" + dir + "/a", file},
                           FIXTURE_DIR, out),
              0);
    EXPECT_TRUE(qt::reportedMessages(qt::readFile(dir + "/a.lnt"), file).empty()) << qt::readFile(dir + "/a.lnt");
    std::string stt = qt::readFile(dir + "/a.stt");
    EXPECT_NE(stt.find("Include dependencies:"), std::string::npos);
    EXPECT_NE(stt.find("inc/sub/defs.inc"), std::string::npos) << stt;
    EXPECT_NE(stt.find("inc/sub/more.inc"), std::string::npos) << stt;

    ASSERT_EQ(qt::runQuarl({"-u", "-Iinc/sub", "-S" + dir + "/b", file}, FIXTURE_DIR, out), 0);
    auto got = qt::reportedMessages(qt::readFile(dir + "/b.lnt"), file);
    EXPECT_EQ(got.count(4), 1u);  // nowhere/defs.inc
    EXPECT_EQ(got.count(5), 1u);  // SYS$LIBRARY:more.inc
}

}  // namespace
