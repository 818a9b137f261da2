// Splits the text of one statement into tokens. Names are upper-cased;
// blanks separate tokens; dotted operators keep their dots (".AND.").
#pragma once
#include <string>
#include <vector>

namespace quarl {

enum class Tok { Ident, Int, Real, Double, String, Logical, Op, End };

struct Token {
    Tok kind = Tok::End;
    std::string text;  // upper-case for names and dotted operators
};

std::vector<Token> tokenize(const std::string& stmt);

}  // namespace quarl
