// The files the front end relies on: the output file, the report files at
// the -S base and the shapes its post-processing reads.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <regex>

#include "harness.hpp"

namespace fs = std::filesystem;

namespace {

const char* const kExts[] = {"lnt", "stt", "tre", "xrf"};

// Banner line, "Default options:" block, "Command options:" block ending
// in a blank line, and a body: the shape the front end strips or moves.
void expectReportShape(const std::string& text, const std::string& what) {
    static const std::regex banner(R"(^QuarlCheck rev\. \d+(\.\d+)+ +\S[^\n]*\n)");
    static const std::regex blocks(
        R"(^[^\n]*\n+Default options:[\s\S]*?\nCommand options:[^\n]*\n([^\n]+\n)*?\n+[\s\S]*\S[\s\S]*$)");
    EXPECT_TRUE(std::regex_search(text, banner)) << what << ":\n" << text.substr(0, 200);
    EXPECT_TRUE(std::regex_match(text, blocks)) << what << ":\n" << text.substr(0, 400);
}

std::string commandFile(const std::vector<std::string>& items) {
    std::string t = "! 4K2JD 9XQ2M 77AB1 QQ0PL ZZ19X 0A0A0\n! 11111 22222 33333 44444 55555 66666\n"
                    "! ABCDE FGHIJ KLMNO PQRST UVWXY Z0123\n";
    for (const auto& i : items) t += (i.find(' ') != std::string::npos ? "\"" + i + "\"" : i) + "\n";
    return t;
}

// A new project's default switches on one file, as the front end runs it:
// quarl -o BASE.out -ECMDFILE, with a blank in the source directory.
TEST(WorkedExample, DefaultSwitchesLeaveOutputAndFourReports) {
    std::string dir = qt::freshDir("worked");
    std::string src = dir + "/src dir";
    fs::create_directories(src);
    fs::copy_file(std::string(EXAMPLE_DIR) + "/heat.f", src + "/heat.f");
    fs::copy_file(std::string(EXAMPLE_DIR) + "/params.inc", src + "/params.inc");
    std::string base = dir + "/quarltmp/quarl";
    fs::create_directories(dir + "/quarltmp");
    std::vector<std::string> args = {"-I" + src, "--e", "--a", "-t", "-Tcondensed", "-Tnoalpha", "-Tnosquish",
                                     "-Ttrim", "--p", "-u", "--d", "--f", "-g", "--m", "--l", "-s", "--2", "-w",
                                     "-x", "-S" + base, "-Mdepend", "-W75", "-Xno_unreferenced_parameters",
                                     "-Xno_unused_common_variables", "-O76", "-O207", "-O261", "-O176",
                                     src + "/heat.f"};
    qt::writeFile(dir + "/quarlcmd.1", commandFile(args));
    std::string out;
    qt::runQuarl({"-o", base + ".out", "-E" + dir + "/quarlcmd.1"}, dir, out);
    ASSERT_TRUE(qt::exists(base + ".out"));
    std::string console = qt::readFile(base + ".out");
    EXPECT_EQ(console.find("(fatal)"), std::string::npos) << console;
    EXPECT_EQ(console.find("unknown"), std::string::npos) << console;
    for (const char* ext : kExts) {
        std::string text = qt::readFile(base + "." + ext);
        ASSERT_FALSE(text.empty()) << ext;
        expectReportShape(text, ext);
    }
    std::string lnt = qt::readFile(base + ".lnt");
    std::string xrf = qt::readFile(base + ".xrf");
    EXPECT_NE(lnt.find(src + "/heat.f(41): warning 107: subroutine SUMMRY"), std::string::npos) << lnt;
    EXPECT_NE(xrf.find("*** Program: HEAT"), std::string::npos);
    EXPECT_NE(xrf.find("in (" + src + "/heat.f) is PROGRAM HEAT"), std::string::npos) << xrf;
    // the disabled messages stay out, the enabled classes are in
    EXPECT_EQ(lnt.find(" 176: "), std::string::npos);
    std::string tre = qt::readFile(base + ".tre");
    EXPECT_NE(tre.find("\nHEAT\n    SETUP\n"), std::string::npos) << tre;
    std::string stt = qt::readFile(base + ".stt");
    EXPECT_NE(stt.find("Include dependencies:"), std::string::npos);
    EXPECT_NE(stt.find(src + "/params.inc"), std::string::npos) << stt;
}

struct FatalCase {
    const char* name;
    bool writeCmd;      // write a command file at all
    bool withFile;      // list a source file in it
    const char* base;   // report base relative to the test dir, or absolute
    const char* blocker = nullptr;  // a directory standing where a report goes
};

void PrintTo(const FatalCase& c, std::ostream* os) { *os << c.name; }

class Fatal : public ::testing::TestWithParam<FatalCase> {};

TEST_P(Fatal, WritesTheMarkerAndNoReports) {
    const FatalCase& c = GetParam();
    std::string dir = qt::freshDir(std::string("fatal-") + c.name);
    qt::writeFile(dir + "/not-a-dir", "x");
    if (c.blocker) fs::create_directories(dir + "/" + c.blocker);
    std::string base = c.base[0] == '/' ? c.base : dir + "/" + c.base;
    std::vector<std::string> items = {"-t", "-s", "-x", "-S" + base};
    if (c.withFile) items.push_back(std::string(EXAMPLE_DIR) + "/solver.f");
    if (c.writeCmd) qt::writeFile(dir + "/cmd", commandFile(items));
    std::string out;
    qt::runQuarl({"-o", dir + "/run.out", "-E" + dir + "/cmd"}, dir, out);
    std::string console = qt::readFile(dir + "/run.out");
    EXPECT_NE(console.find("quarl (fatal): "), std::string::npos) << console;
    for (const char* ext : kExts) {
        if (c.blocker && std::string(c.blocker) == std::string("r.") + ext) continue;
        EXPECT_FALSE(qt::exists(base + "." + ext)) << ext;
    }
}

INSTANTIATE_TEST_SUITE_P(Conditions, Fatal,
                         ::testing::Values(FatalCase{"nocmd", false, true, "r"}, FatalCase{"nofiles", true, false, "r"},
                                           FatalCase{"nodir", true, true, "missing/dir/r"},
                                           FatalCase{"filedir", true, true, "not-a-dir/r"},
                                           FatalCase{"unwritable_report", true, true, "r", "r.xrf"}),
                         [](const ::testing::TestParamInfo<FatalCase>& i) { return std::string(i.param.name); });

TEST(Reports, SwitchedOffReportLeavesNoFileAndUnknownSwitchIsReported) {
    std::string dir = qt::freshDir("switched");
    std::string base = dir + "/r";
    std::string file = std::string(EXAMPLE_DIR) + "/solver.f";
    std::string out;
    qt::runQuarl({"-t", "-s", "-x", "-S" + base, file}, dir, out);
    for (const char* ext : kExts) ASSERT_TRUE(qt::exists(base + "." + ext)) << ext;
    qt::writeFile(dir + "/cmd", commandFile({"--t", "--s", "--x", "-Zbogus", "-Tsideways", "-S" + base, file}));
    qt::runQuarl({"-o", dir + "/r.out", "-E" + dir + "/cmd"}, dir, out);
    EXPECT_TRUE(qt::exists(base + ".lnt"));
    EXPECT_FALSE(qt::exists(base + ".stt"));
    EXPECT_FALSE(qt::exists(base + ".tre"));
    EXPECT_FALSE(qt::exists(base + ".xrf"));
    std::string console = qt::readFile(dir + "/r.out");
    EXPECT_NE(console.find("-Zbogus"), std::string::npos) << console;
    EXPECT_NE(console.find("-Tsideways"), std::string::npos) << console;
    EXPECT_EQ(console.find("(fatal)"), std::string::npos);
}

TEST(Reports, SameFileNamedTwiceIsAnalyzedOnce) {
    std::string dir = qt::freshDir("twice");
    std::string file = std::string(EXAMPLE_DIR) + "/solver.f";
    std::string out;
    qt::runQuarl({"-g", "-S" + dir + "/r", file, std::string(EXAMPLE_DIR) + "/../examples/solver.f"}, dir, out);
    EXPECT_NE(out.find("named more than once"), std::string::npos) << out;
    std::string lnt = qt::readFile(dir + "/r.lnt");
    EXPECT_EQ(lnt.find("defined more than once"), std::string::npos) << lnt;
}

// Long paths and references wrap into the shapes that the cross-reference
// reflow rewrites.
TEST(Xref, LongPathsAndReferencesWrapIntoReflowShapes) {
    std::string dir = "/tmp/quarl-xref-shapes-" + std::to_string(::getpid()) + "/a_rather_long_directory_name";
    fs::remove_all(fs::path(dir).parent_path());
    fs::create_directories(dir);
    std::string file = dir + "/longpaths.f";  // well over 40 characters
    qt::writeFile(file,
                  "      PROGRAM LONGP\n"
                  "      INTEGER K\n"
                  "      K = 1\n"
                  "      CALL WORKER(K)\n      CALL WORKER(K)\n      CALL WORKER(K)\n      CALL WORKER(K)\n"
                  "      CALL WORKER(K)\n      CALL WORKER(K)\n      CALL WORKER(K)\n      CALL WORKER(K)\n"
                  "      END\n"
                  "      SUBROUTINE WORKER(N)\n      INTEGER N\n      N = N + 1\n      END\n");
    std::string out;
    qt::runQuarl({"-g", "-x", "-Xlinenumbers", "-W50", "-S" + dir + "/r", file}, dir, out);
    std::string narrow = qt::readFile(dir + "/r.xrf");
    qt::runQuarl({"-g", "-x", "-Xlinenumbers", "-W75", "-S" + dir + "/r", file}, dir, out);
    std::string wide = qt::readFile(dir + "/r.xrf");
    fs::remove_all(fs::path(dir).parent_path());

    auto has = [](const std::string& text, const char* re) {
        return std::regex_search(text, std::regex(re, std::regex::multiline));
    };
    EXPECT_NE(wide.find("*** Program: LONGP"), std::string::npos);
    EXPECT_TRUE(has(wide, R"(^\s*in \(\s*\S{40,}\) is PROGRAM LONGP)")) << wide;
    EXPECT_TRUE(has(wide, R"(defined at line 13 of \S{40,}$)")) << wide;
    EXPECT_TRUE(has(narrow, R"(^ {30,}\S{40,} *$)")) << narrow;   // the source path, right-aligned
    EXPECT_TRUE(has(wide, R"(^ {60,}\d+-[A-Z]+ *$)")) << wide;     // a label such as 8-SUB
    EXPECT_TRUE(has(wide, R"(^ {60,}\([^)\n]*\)\s*\d+-[A-Z]+ *$)")) << wide;  // (LONGP) 9-SUB
}

TEST(Interface, HelpListsEverySwitchAndCatalogHoldsDefaultDisabledMessages) {
    std::string out;
    ASSERT_EQ(qt::runQuarl({"--help"}, TEST_TMP, out), 0);
    for (const char* sw : {"-o", "-E", "-I", "-e", "-a", "-t", "-Tcondensed", "-Tnocondensed", "-Talphabetic",
                           "-Tnoalpha", "-Tsquish", "-Tnosquish", "-Ttrim", "-Tnotrim", "-Tnolibrary",
                           "-Tnoundefined", "-Thead", "-p", "-D", "-U", "-Fon", "-u", "-d", "-Mhpf", "-f", "-g",
                           "-Mignore_paths", "-Mignore_logicals", "-m", "-Muselbt", "-l", "-s", "-2", "-w", "-x",
                           "-Xlinenumbers", "-Xlower", "-Xtabular", "-P", "-S", "-9", "-7", "-Mdepend", "-V",
                           "-Rfree", "-Rfixed", "-W", "-O", "-O+", "-Oall", "--list-messages"})
        EXPECT_TRUE(std::regex_search(out, std::regex("(^|[\\s/])" + std::regex_replace(std::string(sw), std::regex(R"([+])"), "\\+"))))
            << sw;
    ASSERT_EQ(qt::runQuarl({"--list-messages"}, TEST_TMP, out), 0);
    for (const char* n : {"76", "207", "261", "176"})
        EXPECT_TRUE(std::regex_search(out, std::regex(std::string("(^|\n)") + n + "\t(error|warning|FYI)\t"))) << n;
}

}  // namespace
