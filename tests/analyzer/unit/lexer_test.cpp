#include <gtest/gtest.h>

#include "lexer.hpp"

namespace {

std::string joined(const std::string& stmt) {
    std::string s;
    for (const auto& t : quarl::tokenize(stmt)) {
        if (t.kind == quarl::Tok::End) break;
        if (!s.empty()) s += " ";
        s += (t.kind == quarl::Tok::String ? "'" + t.text + "'" : t.text);
    }
    return s;
}

TEST(Lexer, SplitsStatementsIntoTokens) {
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {
        {"x = y + 1", "X = Y + 1"},
        {"IF (A.EQ.1.AND.B) GOTO 10", "IF ( A .EQ. 1 .AND. B ) GOTO 10"},
        {"X = 1.E5 + 2.5D-3 + .5", "X = 1.E5 + 2.5D-3 + .5"},
        {"L = 1.EQ.2", "L = 1 .EQ. 2"},
        {"S = 'it''s' // \"q\"", "S = 'it's' // 'q'"},
        {"CALL F(*10, A**2)", "CALL F ( * 10 , A ** 2 )"},
        {"DATA H /5HHELLO/", "DATA H / 'HELLO' /"},
        {"real(kind=8) :: p => null()", "REAL ( KIND = 8 ) :: P => NULL ( )"},
        {"X = 1.5_8 + .TRUE._4", "X = 1.5_8 + .TRUE."},
        {"S = 'unterminated", "S = 'unterminated'"},
    };
    for (const auto& c : cases) EXPECT_EQ(joined(c.in), c.out) << c.in;
}

TEST(Lexer, ClassifiesConstants) {
    auto t = quarl::tokenize("1 2.0 3D0 'a' .FALSE.");
    ASSERT_GE(t.size(), 6u);
    EXPECT_EQ(t[0].kind, quarl::Tok::Int);
    EXPECT_EQ(t[1].kind, quarl::Tok::Real);
    EXPECT_EQ(t[2].kind, quarl::Tok::Double);
    EXPECT_EQ(t[3].kind, quarl::Tok::String);
    EXPECT_EQ(t[4].kind, quarl::Tok::Logical);
    EXPECT_EQ(t[5].kind, quarl::Tok::End);
}

}  // namespace
