// Small helpers shared by the parser's files.
#pragma once
#include <algorithm>
#include <cctype>
#include <string>

#include "lexer.hpp"

namespace quarl::parse_util {

inline bool isOp(const Token& t, const char* op) { return t.kind == Tok::Op && t.text == op; }
inline bool isId(const Token& t, const char* w) { return t.kind == Tok::Ident && t.text == w; }

inline bool isTypeKeyword(const std::string& w) {
    return w == "INTEGER" || w == "REAL" || w == "DOUBLE" || w == "COMPLEX" || w == "LOGICAL" ||
           w == "CHARACTER" || w == "BYTE" || w == "TYPE" || w == "CLASS";
}

// The tokens b..e as text (character constants quoted again).
inline std::string joinText(const Tokens& t, size_t b, size_t e) {
    std::string s;
    for (size_t k = b; k < e && k < t.size(); ++k) {
        if (t[k].kind == Tok::End) break;
        if (t[k].kind == Tok::String) s += "'" + t[k].text + "'";
        else s += t[k].text;
    }
    return s;
}

inline bool allDigits(const std::string& s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](unsigned char c) { return std::isdigit(c); });
}

}  // namespace quarl::parse_util
