#include <gtest/gtest.h>

#include <algorithm>

#include "global_checks.hpp"
#include "local_checks.hpp"
#include "parser.hpp"
#include "program_index.hpp"

namespace {

// Parses statements given one per line (line numbers from 1) and runs the
// local and global checks.
struct Analysis {
    quarl::Options opt;
    quarl::Diagnostics diags{opt.messages};
    quarl::Program prog;
    quarl::Library library;

    explicit Analysis(const std::vector<std::string>& stmts, bool global = true, const std::string& lbt = "") {
        std::vector<std::string> problems;
        if (!lbt.empty()) library.add(lbt, "lib.lbt", problems);
        opt.messages.fyis = true;
        opt.implicitTyping = true;
        std::vector<quarl::Statement> st;
        for (size_t i = 0; i < stmts.size(); ++i) {
            quarl::Statement s;
            s.line = s.lastLine = static_cast<int>(i + 1);
            std::string t = stmts[i];
            size_t p = 0;
            while (p < t.size() && isdigit(static_cast<unsigned char>(t[p]))) ++p;
            if (p > 0 && p < t.size() && t[p] == ' ') {
                s.label = t.substr(0, p);
                t = t.substr(p + 1);
            }
            s.text = t;
            st.push_back(s);
        }
        quarl::Parser parser(opt, diags, prog);
        parser.parseFile(st, 0);
        quarl::linkUnits(prog, diags);
        quarl::ProgramIndex index(prog);
        quarl::runLocalChecks(prog, opt, diags);
        if (global) quarl::runGlobalChecks(prog, index, library, opt, {"t.f"}, diags);
    }
    const quarl::Unit& unit(const std::string& name) const {
        for (const auto& u : prog.units)
            if (u->name == name) return *u;
        throw std::runtime_error("no unit " + name);
    }
    // "NUMBER:LINE" of every message, sorted
    std::vector<std::string> messages() const {
        std::vector<std::string> v;
        for (const auto& d : diags.all()) v.push_back(std::to_string(d.number) + ":" + std::to_string(d.line));
        std::sort(v.begin(), v.end());
        return v;
    }
    bool has(int number, int line) const {
        for (const auto& d : diags.all())
            if (d.number == number && d.line == line) return true;
        return false;
    }
};

TEST(Analysis, NamesFollowedByParenthesesAreArraysCallsOrStatementFunctions) {
    Analysis a({"SUBROUTINE S(N)", "INTEGER N", "REAL V(10), W", "CHARACTER*8 C", "G(X) = X + 1.0",
                "W = V(N) + F(N) + G(W) + SQRT(W) + ICHAR(C(1:1))", "CALL T(V, N, 2.5D0, 'x', N + 1, W .GT. 0.0)",
                "END"},
               false);
    const quarl::Unit& s = a.unit("S");
    std::vector<std::string> callees;
    for (const auto& c : s.calls) callees.push_back(c.callee + (c.intrinsic ? "*" : ""));
    EXPECT_EQ(callees, (std::vector<std::string>{"F", "SQRT*", "ICHAR*", "T"}));
    const auto& args = s.calls.back().args;
    std::vector<std::string> types;
    for (const auto& x : args) types.push_back(x.type);
    EXPECT_EQ(types, (std::vector<std::string>{"REAL", "INTEGER", "DOUBLE PRECISION", "CHARACTER", "INTEGER",
                                               "LOGICAL"}));
    EXPECT_TRUE(s.find("G")->isStmtFunc);
    EXPECT_TRUE(s.find("V")->isArray);
}

TEST(Analysis, ImplicitRulesAndImplicitNone) {
    Analysis a({"SUBROUTINE S", "IMPLICIT DOUBLE PRECISION (A-H, O-Z), INTEGER (K)", "X = 1.0", "K = 2", "I = K",
                "PRINT *, X, I", "END", "SUBROUTINE T", "IMPLICIT NONE", "INTEGER J", "J = 1", "Q = J", "END"});
    EXPECT_EQ(a.unit("S").find("X")->type, "DOUBLE PRECISION");
    EXPECT_EQ(a.unit("S").find("K")->type, "INTEGER");
    EXPECT_EQ(a.unit("S").find("I")->type, "INTEGER");
    EXPECT_TRUE(a.has(111, 3));   // X implicitly typed
    EXPECT_TRUE(a.has(18, 12));   // Q without a type under IMPLICIT NONE
    EXPECT_FALSE(a.has(111, 11));
}

TEST(Analysis, UsageThroughInternalProceduresAndModules) {
    Analysis a({"MODULE M", "INTEGER, PARAMETER :: NB = 4", "REAL :: SHARED", "END MODULE M", "PROGRAM P", "USE M",
                "IMPLICIT NONE", "REAL :: H", "CALL FILL", "PRINT *, H, SHARED, NB", "CONTAINS", "SUBROUTINE FILL",
                "H = 2.0", "END SUBROUTINE FILL", "END PROGRAM P"});
    // H is set only inside the internal FILL: not "used but never set";
    // SHARED and NB come from the module: typed, no warnings.
    EXPECT_EQ(a.messages(), std::vector<std::string>{}) << ::testing::PrintToString(a.messages());
    EXPECT_TRUE(a.unit("FILL").isInternal);
}

TEST(Analysis, CommonLengthAndLayoutUseParametersAndTwoByteIntegers) {
    Analysis a({"SUBROUTINE A", "INTEGER N", "PARAMETER (N = 3)", "REAL X(N, 0:1)", "INTEGER K", "COMMON /C/ X, K",
                "X(1, 1) = K", "END", "SUBROUTINE B", "REAL Y(7)", "COMMON /C/ Y", "Y(1) = 1.0", "END",
                "SUBROUTINE D", "INTEGER J(6)", "REAL Z", "COMMON /C/ J, Z", "J(1) = Z", "END"});
    const quarl::Unit& u = a.unit("A");
    EXPECT_EQ(quarl::elementCount(u, *u.find("X")), 6);
    EXPECT_EQ(quarl::typeSize("INTEGER", true), 2);
    EXPECT_EQ(quarl::typeSize("REAL*8", false), 8);
    EXPECT_EQ(quarl::typeSize("COMPLEX(8)", false), 16);
    EXPECT_EQ(quarl::typeSize("CHARACTER*12", false), 12);
    EXPECT_FALSE(a.has(109, 11));  // 7 REALs: the same 28 bytes
    EXPECT_TRUE(a.has(110, 11));   // but the last word is REAL, not INTEGER
    EXPECT_TRUE(a.has(110, 17));   // INTEGERs where A has REALs
}

TEST(Analysis, LibraryDescriptionsStandForMissingRoutines) {
    const char* lbt = "! a library\nSUBROUTINE PLOT 2\nFUNCTION GAMMA REAL 1\nnonsense here\n";
    quarl::Library lib;
    std::vector<std::string> problems;
    lib.add(lbt, "lib.lbt", problems);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("lib.lbt(4)"), std::string::npos);
    ASSERT_NE(lib.find("GAMMA"), nullptr);
    EXPECT_EQ(lib.find("GAMMA")->type, "REAL");

    Analysis a({"PROGRAM P", "REAL X", "X = GAMMA(2.0)", "CALL PLOT(X)", "CALL PLOT(X, 1.0)", "CALL GAMMA(X)",
                "CALL NOWHERE", "END"},
               true, lbt);
    EXPECT_TRUE(a.has(16, 4));    // PLOT takes 2
    EXPECT_FALSE(a.has(16, 5));
    EXPECT_TRUE(a.has(14, 6));    // GAMMA is a function
    EXPECT_FALSE(a.has(107, 3));  // described: not undefined
    EXPECT_TRUE(a.has(107, 7));
}

TEST(Analysis, ParametersInLengthsAndKindsAreUsed) {
    Analysis a({"SUBROUTINE S", "INTEGER N, M, DP", "PARAMETER (N = 8, M = 4, DP = 8)", "CHARACTER*(N) C",
                "CHARACTER D*(M)", "REAL(KIND=DP) X", "C = 'x'", "D = 'y'", "X = 1.0", "PRINT *, C, D, X", "END"});
    EXPECT_EQ(a.messages(), std::vector<std::string>{"108:1"}) << ::testing::PrintToString(a.messages());
}

TEST(Analysis, UnreachableStatementsAndLabels) {
    Analysis a({"PROGRAM P", "INTEGER I", "I = 1", "GO TO 10", "I = 2", "I = 3", "10 IF (I .GT. 0) GO TO 20",
                "PRINT *, I", "STOP", "20 CONTINUE", "30 CONTINUE", "END"});
    EXPECT_TRUE(a.has(105, 5));
    EXPECT_FALSE(a.has(105, 6));   // reported once per stretch
    EXPECT_FALSE(a.has(105, 8));   // after a logical IF with GO TO, code goes on
    EXPECT_FALSE(a.has(105, 10));  // labelled
    EXPECT_TRUE(a.has(104, 11));
}

}  // namespace
