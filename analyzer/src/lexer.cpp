#include "lexer.hpp"

#include <cctype>
#include <cstring>

namespace quarl {

namespace {

bool alpha(char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; }
bool digit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }
bool identChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$'; }
char up(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

const char* const kDotWords[] = {"EQ", "NE", "LT", "LE", "GT", "GE", "AND", "OR", "NOT", "EQV", "NEQV", "XOR",
                                 "TRUE", "FALSE", nullptr};

// Length of a dotted word ".XX." starting at s[i] == '.', or 0.
size_t dotWord(const std::string& s, size_t i) {
    size_t j = i + 1;
    std::string w;
    while (j < s.size() && alpha(s[j]) && w.size() < 5) w += up(s[j++]);
    if (j >= s.size() || s[j] != '.') return 0;
    for (const char* const* k = kDotWords; *k; ++k)
        if (w == *k) return j - i + 1;
    return 0;
}

}  // namespace

std::vector<Token> tokenize(const std::string& s) {
    std::vector<Token> out;
    out.reserve(s.size() / 3 + 2);
    size_t i = 0;
    const size_t n = s.size();
    while (i < n) {
        char c = s[i];
        if (c == ' ' || c == '\t' || c == '\r') {
            ++i;
            continue;
        }
        Token t;
        if (alpha(c) || c == '_') {
            size_t b = i;
            while (i < n && identChar(s[i])) ++i;
            t.kind = Tok::Ident;
            for (size_t k = b; k < i; ++k) t.text += up(s[k]);
            // A string with a kind prefix such as K_'abc' is not handled; the
            // name stays a name.
            out.push_back(std::move(t));
            continue;
        }
        if (digit(c) || (c == '.' && i + 1 < n && digit(s[i + 1]))) {
            size_t b = i;
            while (i < n && digit(s[i])) ++i;
            // Hollerith constant nHxxx after a separator
            if (i < n && (s[i] == 'H' || s[i] == 'h') && i > b &&
                (out.empty() || (out.back().kind == Tok::Op &&
                                 std::strchr("(,/*", out.back().text[0]) != nullptr))) {
                size_t len = 0;
                std::string num = s.substr(b, i - b);
                if (num.size() < 6) len = std::stoul(num);
                if (len > 0 && i + 1 + len <= n) {
                    t.kind = Tok::String;
                    t.text = s.substr(i + 1, len);
                    i += 1 + len;
                    out.push_back(std::move(t));
                    continue;
                }
            }
            t.kind = Tok::Int;
            if (i < n && s[i] == '.' && dotWord(s, i) == 0) {
                t.kind = Tok::Real;
                ++i;
                while (i < n && digit(s[i])) ++i;
            }
            if (i < n && (up(s[i]) == 'E' || up(s[i]) == 'D' || up(s[i]) == 'Q')) {
                size_t j = i + 1;
                if (j < n && (s[j] == '+' || s[j] == '-')) ++j;
                if (j < n && digit(s[j])) {
                    t.kind = up(s[i]) == 'E' ? Tok::Real : Tok::Double;
                    i = j;
                    while (i < n && digit(s[i])) ++i;
                }
            }
            if (i < n && s[i] == '_' && i + 1 < n && identChar(s[i + 1])) {  // kind suffix
                ++i;
                while (i < n && identChar(s[i])) ++i;
            }
            t.text = s.substr(b, i - b);
            out.push_back(std::move(t));
            continue;
        }
        if (c == '\'' || c == '"') {
            char q = c;
            ++i;
            std::string v;
            while (i < n) {
                if (s[i] == q) {
                    if (i + 1 < n && s[i + 1] == q) {
                        v += q;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                v += s[i++];
            }
            t.kind = Tok::String;
            t.text = v;
            out.push_back(std::move(t));
            continue;
        }
        if (c == '.') {
            size_t len = dotWord(s, i);
            if (len) {
                std::string w;
                for (size_t k = i; k < i + len; ++k) w += up(s[k]);
                t.kind = (w == ".TRUE." || w == ".FALSE.") ? Tok::Logical : Tok::Op;
                t.text = w;
                i += len;
                // kind suffix on logical constants: .TRUE._4
                if (t.kind == Tok::Logical && i < n && s[i] == '_')
                    while (i < n && identChar(s[i])) ++i;
                out.push_back(std::move(t));
                continue;
            }
        }
        static const char* const two[] = {"**", "//", "==", "/=", "<=", ">=", "=>", "::", nullptr};
        t.kind = Tok::Op;
        bool matched = false;
        if (i + 1 < n) {
            for (const char* const* p = two; *p; ++p)
                if (s[i] == (*p)[0] && s[i + 1] == (*p)[1]) {
                    t.text = *p;
                    i += 2;
                    matched = true;
                    break;
                }
        }
        if (!matched) {
            t.text = std::string(1, c);
            ++i;
        }
        out.push_back(std::move(t));
    }
    Token end;
    end.kind = Tok::End;
    out.push_back(end);
    return out;
}

}  // namespace quarl
