#include <gtest/gtest.h>

#include "preprocessor.hpp"

namespace {

struct PP {
    quarl::MessageSwitches sw;
    quarl::Diagnostics diags{sw};
    std::vector<std::string> included;
    quarl::Preprocessor pp{diags, [this](const std::string& n, int, int, std::vector<quarl::SourceLine>&) {
                               included.push_back(n);
                           }};
    std::vector<std::string> active(const std::vector<std::string>& raw, bool free = true) {
        std::vector<quarl::SourceLine> out;
        pp.process(raw, 0, free, out);
        std::vector<std::string> v;
        for (const auto& l : out)
            if (!l.inactive) v.push_back(l.text);
        EXPECT_EQ(out.size(), raw.size() + 0) << "every line keeps its place";
        return v;
    }
};

TEST(Preprocessor, EvaluatesConditions) {
    PP p;
    p.pp.define("A", "3");
    p.pp.define("B", "A * 2");
    p.pp.define("EMPTY", "");
    struct Case {
        const char* expr;
        long long value;
    } cases[] = {{"1", 1},           {"defined(A)", 1}, {"defined B && !defined(C)", 1}, {"B == 6", 1},
                 {"A > 4 || C", 0}, {"(A + 1) * 2 % 5", 3}, {"-A < 0 ? 7 : 8", 7},      {"EMPTY", 0},
                 {"A != 3", 0},      {"9223372036854775807 + 1 < 0", 1}};
    for (const auto& c : cases) {
        long long v = -1;
        std::string why;
        EXPECT_TRUE(p.pp.evaluate(c.expr, v, why)) << c.expr << ": " << why;
        EXPECT_EQ(v, c.value) << c.expr;
    }
    for (const char* bad : {"", "1 +", "(1", "1 / 0", "A %", "@"}) {
        long long v = 0;
        std::string why;
        EXPECT_FALSE(p.pp.evaluate(bad, v, why)) << bad;
        EXPECT_FALSE(why.empty());
    }
    // deep nesting and self-referring macros end with an error, not a crash
    long long v = 0;
    std::string why;
    EXPECT_FALSE(p.pp.evaluate(std::string(100000, '(') + "1", v, why));
    p.pp.define("SELF", "SELF + 1");
    EXPECT_FALSE(p.pp.evaluate("SELF", v, why));
}

TEST(Preprocessor, SelectsBranchesAndKeepsLineNumbers) {
    PP p;
    p.pp.define("FAST", "1");
    auto v = p.active({"#if defined(FAST)", "a = 1", "#elif 1", "a = 2", "#else", "a = 3", "#endif",
                       "#ifndef FAST", "b = 1", "#else", "b = 2", "#endif", "#undef FAST", "#ifdef FAST", "c = 1",
                       "#endif", "#include \"x.h\""});
    EXPECT_EQ(v, (std::vector<std::string>{"a = 1", "b = 2"}));
    EXPECT_EQ(p.included, std::vector<std::string>{"x.h"});
    EXPECT_EQ(p.diags.all().size(), 0u);
}

TEST(Preprocessor, ReportsUnbalancedDirectives) {
    PP p;
    p.active({"#else", "#endif", "#if 1", "x = 1", "#bogus"});
    std::vector<std::string> texts;
    for (const auto& d : p.diags.all()) texts.push_back(d.text);
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_NE(texts[0].find("#else without #if"), std::string::npos);
    EXPECT_NE(texts[1].find("#endif without #if"), std::string::npos);
    EXPECT_NE(texts[2].find("unknown directive"), std::string::npos);
    EXPECT_NE(texts[3].find("#if without #endif"), std::string::npos);
}

TEST(Preprocessor, ExpandsNamesOutsideStringsAndComments) {
    PP p;
    p.pp.define("N", "100");
    p.pp.define("M", "N + N");
    EXPECT_EQ(p.pp.expand("x = M ! N", 0, 1), "x = 100 + 100 ! N");
    EXPECT_EQ(p.pp.expand("print *, 'N', NN, N1", 0, 1), "print *, 'N', NN, N1");
    // doubling on every level would reach 2^40 characters; it is stopped
    for (int i = 0; i < 40; ++i) p.pp.define("D" + std::to_string(i), "D" + std::to_string(i + 1) + " D" + std::to_string(i + 1));
    std::string r = p.pp.expand("x = D0", 0, 7);
    EXPECT_LE(r.size(), 70000u);
    EXPECT_FALSE(p.diags.all().empty());
}

// Expansion may add at most a fixed multiple of the input (plus a little):
// a file of many lines that each expand to kilobytes stops expanding.
TEST(Preprocessor, ExpansionGrowthIsBounded) {
    PP p;
    for (int i = 0; i < 13; ++i)
        p.pp.define("D" + std::to_string(i), "D" + std::to_string(i + 1) + " D" + std::to_string(i + 1));
    p.pp.define("D13", "XX");
    std::vector<std::string> raw(400, "x = D0");  // each line would grow to about 25 kB
    std::vector<quarl::SourceLine> out;
    p.pp.process(raw, 0, true, out);
    size_t total = 0;
    for (const auto& l : out) total += l.text.size();
    EXPECT_LT(total, (size_t{1} << 20) + 16 * 400 * 7 + 70000);
    bool reported = false;
    for (const auto& d : p.diags.all()) reported = reported || d.text.find("grows the file too much") != std::string::npos;
    EXPECT_TRUE(reported);
}

}  // namespace
