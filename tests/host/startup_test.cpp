// The whole start-up sequence, through hosts built around test scripts and
// through the real program.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Runs a shell command line with standard input closed and DISPLAY naming a
// display where no X server runs (with DISPLAY unset the toolkit would try
// the default display, which a test run's own virtual server may occupy).
Outcome RunCommand(const std::string& command) {
    // ctest runs the tests in parallel: each run gets its own files.
    std::string dir = ::testing::TempDir() + "/hostrunXXXXXX";
    if (mkdtemp(dir.data()) == nullptr) return {};
    const std::string out = dir + "/out";
    const std::string err = dir + "/err";
    const std::string line = "env DISPLAY=:65530 " + command + " </dev/null >" + out + " 2>" + err;
    const int raw = std::system(line.c_str());
    Outcome r;
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = Slurp(out);
    r.err = Slurp(err);
    std::remove(out.c_str());
    std::remove(err.c_str());
    rmdir(dir.c_str());
    return r;
}

std::string Host(const char* name) { return std::string(HOST_BIN_DIR) + "/" + name; }

TEST(HostStartup, DrivesTheEntryOperationsInOrder) {
    struct Case {
        const char* host;
        const char* args;
        const char* expected;
    };
    const Case cases[] = {
        {"host_plain", "", "loaded\nSetARGV()\nMain(0)\nMain(1)\nMainLoop\n"},
        {"host_plain", "a 'b c' \"\" d.vqx",
         "loaded\nSetARGV(a|b c||d.vqx)\nMain(0)\nMain(1)\nMainLoop\n"},
        {"host_gzip", "x y", "loaded\nSetARGV(x|y)\nMain(0)\nMain(1)\nMainLoop\n"},
        {"host_flag0", "z", "loaded\nSetARGV(z)\nMain(0)\nMainLoop\n"},
    };
    for (const auto& c : cases) {
        const Outcome r = RunCommand(Host(c.host) + " " + c.args);
        EXPECT_EQ(r.status, 0) << c.host << " " << c.args << "\n" << r.err;
        EXPECT_EQ(r.out, c.expected) << c.host << " " << c.args;
        EXPECT_EQ(r.err, "") << c.host;
    }
}

TEST(HostStartup, ApplicationMayEndTheProcessItself) {
    const Outcome r = RunCommand(Host("host_exit"));
    EXPECT_EQ(r.status, 7);
    EXPECT_EQ(r.out, "Main(0)\nMain(1)\n");
}

TEST(HostStartup, AnErrorInMainEndsWithTheInterpretersMessage) {
    const Outcome r = RunCommand(Host("host_die"));
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.err.find("broken main"), std::string::npos) << r.err;
}

TEST(HostStartup, CorruptContainersEndWithInternalErrors) {
    const Outcome truncated = RunCommand(Host("host_truncated"));
    EXPECT_EQ(truncated.status, 1);
    EXPECT_EQ(truncated.err, "Internal error: Invalid data [3]\n");
    const Outcome badmagic = RunCommand(Host("host_badmagic"));
    EXPECT_EQ(badmagic.status, 1);
    EXPECT_EQ(badmagic.err, "Internal error: Invalid data [1]\n");
}

TEST(HostStartup, RealProgramEvaluatesTheApplicationScript) {
    
    const Outcome r = RunCommand("env VQXAPPBASE=" + std::string(STAGE_DIR) + " " + QUARLGUI_BIN);
    // Without a display the program must end cleanly or with its own
    // message, never with an interpreter error.
    EXPECT_EQ(r.err.find("line "), std::string::npos) << r.err;
    EXPECT_TRUE(r.status == 0 || r.status == 1) << r.status << r.err;
}

}  // namespace
