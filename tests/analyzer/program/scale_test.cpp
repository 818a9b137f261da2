// Shapes of input that once took time growing with the square of their
// size (many modules in use, many FORMAT labels, many ENTRY points, long
// call chains). Each must finish in a time that only linear growth allows.
#include <gtest/gtest.h>

#include <chrono>
#include <sstream>

#include "harness.hpp"

namespace {

constexpr int kN = 60000;

std::string manyModules() {
    std::ostringstream o;
    for (int i = 0; i < kN / 10; ++i)
        o << "module m" << i << "\n  integer :: v" << i << " = " << i << "\nend module m" << i << "\n";
    for (int i = 0; i < kN; ++i) {
        int m = i % (kN / 10);
        o << "subroutine s" << i << "(k)\n  use m" << m << "\n  implicit none\n  integer :: k\n  k = v" << m
          << " + 1\nend subroutine s" << i << "\n";
    }
    return o.str();
}

std::string manyLabelsAndEntries() {
    std::ostringstream o;
    o << "      SUBROUTINE BIG(X)\n      REAL X\n";
    for (int i = 1; i <= kN; ++i) o << "      WRITE (6, " << i << ") X\n";
    for (int i = 1; i <= kN; ++i) o << std::string(5 - std::to_string(i).size(), ' ') << i << " FORMAT (F8.2)\n";
    for (int i = 1; i <= kN / 4; ++i) o << "      ENTRY E" << i << "(X)\n      X = X + 1.0\n";
    o << "      END\n";
    return o.str();
}

std::string longChain() {
    std::ostringstream o;
    o << "      PROGRAM CHAIN\n      CALL C1\n      END\n";
    for (int i = 1; i <= kN; ++i) {
        o << "      SUBROUTINE C" << i << "\n";
        if (i < kN) o << "      CALL C" << i + 1 << "\n";
        o << "      END\n";
    }
    return o.str();
}

struct ScaleCase {
    const char* name;
    const char* file;
    std::string (*make)();
};

void PrintTo(const ScaleCase& c, std::ostream* os) { *os << c.name; }

class Scale : public ::testing::TestWithParam<ScaleCase> {};

TEST_P(Scale, FinishesInLinearTime) {
    const ScaleCase& c = GetParam();
    std::string dir = qt::freshDir(std::string("scale-") + c.name);
    qt::writeFile(dir + "/" + c.file, c.make());
    auto t0 = std::chrono::steady_clock::now();
    std::string out;
    ASSERT_EQ(qt::runQuarl({"-g", "-u", "-t", "-s", "-x", "-S" + dir + "/r", dir + "/" + c.file}, dir, out), 0)
        << out;
    double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    // linear work here takes well under a second; quadratic takes minutes
    EXPECT_LT(secs, 10.0);
    EXPECT_NE(out.find("wrote"), std::string::npos) << out;
}

INSTANTIATE_TEST_SUITE_P(Inputs, Scale,
                         ::testing::Values(ScaleCase{"modules", "mods.f90", manyModules},
                                           ScaleCase{"labels_entries", "big.f", manyLabelsAndEntries},
                                           ScaleCase{"call_chain", "chain.f", longChain}),
                         [](const ::testing::TestParamInfo<ScaleCase>& i) { return std::string(i.param.name); });

}  // namespace
