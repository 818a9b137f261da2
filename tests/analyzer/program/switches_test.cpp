// Switches that change what is read or reported, each on a small source:
// the analysis report must hold (or must not hold) the given text.
#include <gtest/gtest.h>

#include "harness.hpp"

namespace {

struct SwitchCase {
    const char* name;
    const char* file;    // name decides the form
    const char* source;
    std::vector<std::string> switches;
    std::vector<std::string> present;
    std::vector<std::string> absent;
};

void PrintTo(const SwitchCase& c, std::ostream* os) { *os << c.name; }

class Switch : public ::testing::TestWithParam<SwitchCase> {};

TEST_P(Switch, ChangesTheAnalysisReport) {
    const SwitchCase& c = GetParam();
    std::string dir = qt::freshDir(std::string("switch-") + c.name);
    qt::writeFile(dir + "/" + c.file, c.source);
    std::vector<std::string> args = {"-S" + dir + "/r"};
    args.insert(args.end(), c.switches.begin(), c.switches.end());
    args.push_back(dir + "/" + c.file);
    std::string out;
    ASSERT_EQ(qt::runQuarl(args, dir, out), 0) << out;
    std::string lnt = qt::readFile(dir + "/r.lnt");
    for (const auto& p : c.present) EXPECT_NE(lnt.find(p), std::string::npos) << p << "\n" << lnt;
    for (const auto& a : c.absent) EXPECT_EQ(lnt.find(a), std::string::npos) << a << "\n" << lnt;
}

const char* const kHpf = "      PROGRAM H\n      REAL A(10)\nCHPF$ DISTRIBUTE A(BLOCK)\n      A(1) = 1.0\n"
                         "      PRINT *, A(1)\n      END\n";
const char* const kDebug = "      PROGRAM D\n      INTEGER K\n      K = 1\nD     PRINT *, K\n      END\n";
const char* const kPre = "      PROGRAM P\n      INTEGER K\n#ifdef TRACE\n      K = 1\n#endif\n      PRINT *, K\n"
                         "      END\n";
const char* const kMaxloc = "      PROGRAM M\n      REAL V(5)\n      INTEGER I\n      V(1) = 1.0\n"
                            "      I = MAXLOC(V)\n      PRINT *, I\n      END\n";
const char* const kWide = "      PROGRAM W\n      INTEGER K\n      K = 1\n"
                          "      PRINT *, K                                                        , K\n      END\n";

const SwitchCase kCases[] = {
    {"hpf_on", "h.f", kHpf, {"-Mhpf", "-f"}, {"FYI 202: HPF directive: DISTRIBUTE A(BLOCK)"}, {}},
    {"hpf_off", "h.f", kHpf, {"-f"}, {}, {"HPF directive"}},
    {"debug_lines_off", "d.f", kDebug, {"-u"}, {"warning 101: variable K is set but never used"}, {}},
    {"debug_lines_on", "d.f", kDebug, {"-u", "-d"}, {}, {"warning 101"}},
    {"preprocessor_define", "p.F", kPre, {"-p", "-DTRACE", "-u"}, {}, {"used but never set"}},
    {"preprocessor_undefine", "p.F", kPre, {"-p", "-DTRACE", "-UTRACE", "-u"},
     {"warning 100: variable K is used but never set"}, {}},
    {"preprocessor_off", "p.F", kPre, {"-u"}, {"warning 114: preprocessor directive ignored"}, {}},
    {"listing", "d.f", kDebug, {"-l", "-u"},
     {"Source listing of ", "     3        K = 1\n        *** warning 101: variable K is set but never used\n"}, {}},
    {"maxloc_ansi", "m.f", kMaxloc, {"-a"}, {"warning 115: MAXLOC/MINLOC result assigned to scalar I"}, {}},
    {"maxloc_plain", "m.f", kMaxloc, {}, {}, {"warning 115"}},
    {"columns_72", "w.f", kWide, {}, {"warning 106: line is longer than 72 columns"}, {}},
    {"columns_132", "w.f", kWide, {"-e"}, {}, {"warning 106"}},
    {"free_form_forced", "w.f", "program w\ninteger :: k\nk = 1\nprint *, k\nend program w\n", {"-Rfree"},
     {"(free form)", "Summary: 0 errors"}, {}},
    {"warnings_off", "d.f", kDebug, {"-u", "--w"}, {}, {"warning 101"}},
    {"message_off", "d.f", kDebug, {"-u", "-O101"}, {}, {"warning 101"}},
    {"portability_ansi77", "w.f", "program w\ninteger :: k\nk = 1\nprint *, k\nend program w\n",
     {"-PANSI77", "-Rfree"}, {"warning 117: non-standard feature for ANSI77: type declaration with ::"}, {}},
    {"unknown_switch_noted", "d.f", kDebug, {"-Qbogus"}, {"Unknown switch ignored: -Qbogus"}, {}},
};

INSTANTIATE_TEST_SUITE_P(Each, Switch, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<SwitchCase>& i) { return std::string(i.param.name); });

}  // namespace
