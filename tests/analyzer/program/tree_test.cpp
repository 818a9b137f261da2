// The call tree under each of its switches, on the calls fixture.
#include <gtest/gtest.h>

#include "harness.hpp"

namespace {

struct TreeCase {
    const char* name;
    std::vector<std::string> switches;
    const char* body;  // the tree after the header
};

void PrintTo(const TreeCase& c, std::ostream* os) { *os << c.name; }

class Tree : public ::testing::TestWithParam<TreeCase> {};

TEST_P(Tree, ShowsTheExpectedTree) {
    const TreeCase& c = GetParam();
    std::string dir = qt::freshDir(std::string("tree-") + c.name);
    std::vector<std::string> args = {"-t", "-S" + dir + "/r"};
    for (std::string sw : c.switches) {
        size_t at = sw.find("@FIX@");  // the fixture directory
        if (at != std::string::npos) sw.replace(at, 5, FIXTURE_DIR);
        args.push_back(sw);
    }
    args.push_back(std::string(FIXTURE_DIR) + "/calls.f");
    std::string out;
    ASSERT_EQ(qt::runQuarl(args, dir, out), 0) << out;
    std::string tre = qt::readFile(dir + "/r.tre");
    size_t body = tre.find("\n\n", tre.find("Command options:"));
    ASSERT_NE(body, std::string::npos) << tre;
    EXPECT_EQ(tre.substr(body + 2), c.body);
}

const TreeCase kCases[] = {
    {"defaults", {},
     "CALLS\n"
     "    NREAD\n"
     "        STOPRN (undefined)\n"
     "    SCALE\n"
     "        OFFSET\n"
     "    REAL (intrinsic)\n"
     "    FACTOR\n"
     "        REAL (intrinsic)\n"
     "    CHECK\n"
     "    REPORT\n"
     "        OUTPUT\n"
     "            LOGMSG\n"
     "    SUMUP\n"
     "        LOGMSG\n"
     "    SQRT (intrinsic)\n"
     "    ABS (intrinsic)\n"
     "    OUTPUT (see above)\n"
     "    SHUTDN\n"
     "        LOGMSG\n"
     "        FLUSHU (undefined)\n"},
    {"uncondensed_untrimmed", {"-Tnocondensed", "-Tnotrim", "-Tnolibrary"},
     "CALLS\n"
     "    NREAD\n"
     "        STOPRN (undefined)\n"
     "    SCALE\n"
     "        OFFSET\n"
     "    FACTOR\n"
     "    CHECK\n"
     "    REPORT\n"
     "        OUTPUT\n"
     "            LOGMSG\n"
     "    SUMUP\n"
     "        LOGMSG\n"
     "    OUTPUT\n"
     "        LOGMSG\n"
     "    SHUTDN\n"
     "        LOGMSG\n"
     "        FLUSHU (undefined)\n"
     "        LOGMSG\n"},
    {"sorted_squashed", {"-Talphabetic", "-Tsquish", "-Tnolibrary", "-Tnoundefined"},
     "CALLS\n"
     "  CHECK\n"
     "  FACTOR\n"
     "  NREAD\n"
     "  OUTPUT\n"
     "    LOGMSG\n"
     "  REPORT\n"
     "    OUTPUT (see above)\n"
     "  SCALE\n"
     "    OFFSET\n"
     "  SHUTDN\n"
     "    LOGMSG\n"
     "  SUMUP\n"
     "    LOGMSG\n"},
    {"heads", {"-Tnolibrary", "-Thead:SUMUP", "-Thead:REPORT", "-Thead:NOSUCH"},
     "SUMUP\n"
     "    LOGMSG\n"
     "\n"
     "REPORT\n"
     "    OUTPUT\n"
     "        LOGMSG\n"
     "\n"
     "NOSUCH: not defined in the analyzed files\n"},
    // a library description (.lbt) makes FLUSHU a library routine, which
    // -Tnolibrary leaves out like the intrinsics
    {"library_omitted", {"-I@FIX@/lib", "-Tnolibrary"},
     "CALLS\n"
     "    NREAD\n"
     "        STOPRN (undefined)\n"
     "    SCALE\n"
     "        OFFSET\n"
     "    FACTOR\n"
     "    CHECK\n"
     "    REPORT\n"
     "        OUTPUT\n"
     "            LOGMSG\n"
     "    SUMUP\n"
     "        LOGMSG\n"
     "    OUTPUT (see above)\n"
     "    SHUTDN\n"
     "        LOGMSG\n"},
    // with -Muselbt the description wins over LOGMSG in the sources
    {"library_first", {"-I@FIX@/lib", "-Muselbt", "-Tnoundefined", "-Talphabetic"},
     "CALLS\n"
     "    ABS (intrinsic)\n"
     "    CHECK\n"
     "    FACTOR\n"
     "        REAL (intrinsic)\n"
     "    NREAD\n"
     "    OUTPUT\n"
     "        LOGMSG (library)\n"
     "    REAL (intrinsic)\n"
     "    REPORT\n"
     "        OUTPUT (see above)\n"
     "    SCALE\n"
     "        OFFSET\n"
     "    SHUTDN\n"
     "        FLUSHU (library)\n"
     "        LOGMSG (library)\n"
     "    SQRT (intrinsic)\n"
     "    SUMUP\n"
     "        LOGMSG (library)\n"},
};

INSTANTIATE_TEST_SUITE_P(Switches, Tree, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<TreeCase>& i) { return std::string(i.param.name); });

}  // namespace
