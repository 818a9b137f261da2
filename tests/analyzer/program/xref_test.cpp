// Cross-reference layouts, lower case and filters.
#include <gtest/gtest.h>

#include <regex>

#include "harness.hpp"

namespace {

const char* const kSource =
    "      PROGRAM FILT\n"
    "      INTEGER NUSED, NUNUSED, I\n"
    "      PARAMETER (NUSED = 3, NUNUSED = 4)\n"
    "      REAL A, B, V\n"
    "      COMMON /BLK/ A, B\n"
    "      DO 10 I = 1, NUSED\n"
    "         A = A + REAL(I)\n"
    "   10 CONTINUE\n"
    "      CALL SHOW(A)\n"
    "      END\n"
    "      SUBROUTINE SHOW(X)\n"
    "      REAL X\n"
    "      PRINT *, X\n"
    "      END\n";

std::string xref(const std::string& name, const std::vector<std::string>& switches) {
    std::string dir = qt::freshDir("xref-" + name);
    qt::writeFile(dir + "/filt.f", kSource);
    std::vector<std::string> args = {"-g", "-x", "-S" + dir + "/r"};
    args.insert(args.end(), switches.begin(), switches.end());
    args.push_back(dir + "/filt.f");
    std::string out;
    EXPECT_EQ(qt::runQuarl(args, dir, out), 0) << out;
    return qt::readFile(dir + "/r.xrf");
}

bool hasLine(const std::string& text, const std::string& re) {
    return std::regex_search(text, std::regex(re, std::regex::multiline));
}

TEST(Xref, FiltersHideOnlyWhatTheyName) {
    std::string all = xref("nofilter", {});
    for (const char* n : {"NUSED", "NUNUSED", "A", "B", "V", "SHOW"})
        EXPECT_TRUE(hasLine(all, std::string("^    ") + n + " ")) << n << "\n" << all;
    std::string f = xref("filters", {"-Xno_unreferenced_parameters", "-Xno_unused_common_variables",
                                     "-Xno_unreferenced_variables"});
    EXPECT_TRUE(hasLine(f, "^    NUSED "));
    EXPECT_FALSE(hasLine(f, "^    NUNUSED "));
    EXPECT_TRUE(hasLine(f, "^    A "));
    EXPECT_FALSE(hasLine(f, "^    B "));
    EXPECT_FALSE(hasLine(f, "^    V "));
    EXPECT_TRUE(hasLine(f, "^    I "));
}

TEST(Xref, LayoutsAndLowerCase) {
    std::string abridged = xref("abridged", {});
    EXPECT_TRUE(hasLine(abridged, R"(^    I +INTEGER +variable +DEC SET USE$)")) << abridged;
    EXPECT_FALSE(hasLine(abridged, R"(\b\d+-(SET|USE)\b)"));

    std::string lines = xref("lines", {"-Xlinenumbers"});
    EXPECT_TRUE(hasLine(lines, R"(^    I +INTEGER +variable +2-DEC 6-SET 6-USE 7-USE$)")) << lines;
    EXPECT_TRUE(hasLine(lines, R"(^    SHOW +SUBROUTINE +defined at line 11 of \S+/filt\.f$)")) << lines;
    EXPECT_TRUE(hasLine(lines, R"(^        called at   \(FILT\) 9-SUB$)")) << lines;

    std::string tab = xref("tabular", {"-Xtabular"});
    // fixed columns: name 32, type 20, class 20, then the references
    EXPECT_TRUE(hasLine(tab, "^    Name {28}Type {16}Class {15}References$")) << tab;
    EXPECT_TRUE(hasLine(tab, "^    I {31}INTEGER {13}variable {12}2-DEC 6-SET 6-USE 7-USE$")) << tab;

    std::string low = xref("lower", {"-Xlower"});
    EXPECT_NE(low.find("*** Program: filt"), std::string::npos) << low;
    EXPECT_TRUE(hasLine(low, "^    nunused ")) << low;
    EXPECT_NE(low.find("/filt.f"), std::string::npos);  // paths keep their case
    EXPECT_EQ(low.find("NUNUSED"), std::string::npos);
}

}  // namespace
