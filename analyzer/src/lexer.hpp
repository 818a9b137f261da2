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

// The tokens of one statement. Reading past the end gives the End token, so
// that a parser looking ahead on malformed input never leaves the list.
class Tokens {
public:
    explicit Tokens(std::vector<Token> v) : v_(std::move(v)) {}
    const Token& operator[](size_t i) const { return i < v_.size() ? v_[i] : end_; }
    size_t size() const { return v_.size(); }
    std::vector<Token>::const_iterator begin() const { return v_.begin(); }
    std::vector<Token>::const_iterator end() const { return v_.end(); }

private:
    std::vector<Token> v_;
    Token end_{};
};

}  // namespace quarl
