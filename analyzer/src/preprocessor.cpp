#include "preprocessor.hpp"

#include <algorithm>
#include <cctype>
#include <set>

namespace quarl {

namespace {

constexpr size_t kMaxExpansion = 65536;  // per line; stops exponential macro growth
constexpr size_t kGrowthFactor = 16;  // expansion may add this many times the input read
constexpr int kMaxDepth = 200;           // nesting of parentheses and macro values in #if

bool identStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool identChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$'; }

std::string trim(const std::string& s) {
    size_t b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos) return "";
    size_t e = s.find_last_not_of(" \t\r");
    return s.substr(b, e - b + 1);
}

// Recursive-descent evaluator over a token string. Arithmetic is done in
// unsigned space so that overflow wraps instead of being undefined.
class ExprEval {
public:
    ExprEval(const std::string& s, const std::map<std::string, std::string>& macros, int depth)
        : s_(s), macros_(macros), depth_(depth) {}

    bool run(long long& v, std::string& why) {
        v = ternary(0);
        skip();
        if (err_.empty() && pos_ < s_.size()) err_ = "unexpected '" + s_.substr(pos_, 10) + "'";
        why = err_;
        return err_.empty();
    }

private:
    const std::string& s_;
    const std::map<std::string, std::string>& macros_;
    int depth_;
    size_t pos_ = 0;
    std::string err_;

    static long long wrap(unsigned long long u) { return static_cast<long long>(u); }
    void skip() {
        while (pos_ < s_.size() && std::isspace(static_cast<unsigned char>(s_[pos_]))) ++pos_;
    }
    bool eat(const char* op) {
        skip();
        size_t n = std::char_traits<char>::length(op);
        if (s_.compare(pos_, n, op) != 0) return false;
        if (n == 1 && pos_ + 1 < s_.size()) {
            // a one-character operator must not be the start of a longer one
            char c = op[0], nx = s_[pos_ + 1];
            if ((c == '&' || c == '|') && nx == c) return false;
            if ((c == '<' || c == '>' || c == '!') && nx == '=') return false;
        }
        pos_ += n;
        return true;
    }
    bool fail(const std::string& m) {
        if (err_.empty()) err_ = m;
        return false;
    }
    long long ternary(int d) {
        if (d > kMaxDepth) return fail("expression nested too deeply"), 0;
        long long c = orExpr(d);
        if (eat("?")) {
            long long a = ternary(d + 1);
            if (!eat(":")) return fail("missing ':'"), 0;
            long long b = ternary(d + 1);
            return c ? a : b;
        }
        return c;
    }
    long long orExpr(int d) {
        long long v = andExpr(d);
        while (eat("||")) {
            long long r = andExpr(d);
            v = (v || r) ? 1 : 0;
        }
        return v;
    }
    long long andExpr(int d) {
        long long v = cmpExpr(d);
        while (eat("&&")) {
            long long r = cmpExpr(d);
            v = (v && r) ? 1 : 0;
        }
        return v;
    }
    long long cmpExpr(int d) {
        long long v = addExpr(d);
        for (;;) {
            if (eat("==")) v = v == addExpr(d);
            else if (eat("!=")) v = v != addExpr(d);
            else if (eat("<=")) v = v <= addExpr(d);
            else if (eat(">=")) v = v >= addExpr(d);
            else if (eat("<")) v = v < addExpr(d);
            else if (eat(">")) v = v > addExpr(d);
            else return v;
        }
    }
    long long addExpr(int d) {
        long long v = mulExpr(d);
        for (;;) {
            if (eat("+")) v = wrap(static_cast<unsigned long long>(v) + static_cast<unsigned long long>(mulExpr(d)));
            else if (eat("-")) v = wrap(static_cast<unsigned long long>(v) - static_cast<unsigned long long>(mulExpr(d)));
            else return v;
        }
    }
    long long mulExpr(int d) {
        long long v = unary(d);
        for (;;) {
            if (eat("*")) v = wrap(static_cast<unsigned long long>(v) * static_cast<unsigned long long>(unary(d)));
            else if (eat("/") || eat("%")) {
                bool div = s_[pos_ - 1] == '/';
                long long r = unary(d);
                if (r == 0) return fail("division by zero"), 0;
                if (r == -1) v = div ? wrap(0ULL - static_cast<unsigned long long>(v)) : 0;
                else v = div ? v / r : v % r;
            } else return v;
        }
    }
    long long unary(int d) {
        if (d > kMaxDepth) return fail("expression nested too deeply"), 0;
        if (eat("!")) return !unary(d + 1);
        if (eat("-")) return wrap(0ULL - static_cast<unsigned long long>(unary(d + 1)));
        if (eat("+")) return unary(d + 1);
        return primary(d);
    }
    long long primary(int d) {
        skip();
        if (pos_ >= s_.size()) return fail("missing operand"), 0;
        if (eat("(")) {
            long long v = ternary(d + 1);
            if (!eat(")")) return fail("missing ')'"), 0;
            return v;
        }
        char c = s_[pos_];
        if (std::isdigit(static_cast<unsigned char>(c))) {
            unsigned long long v = 0;
            while (pos_ < s_.size() && std::isdigit(static_cast<unsigned char>(s_[pos_])))
                v = v * 10 + static_cast<unsigned long long>(s_[pos_++] - '0');
            while (pos_ < s_.size() && std::isalpha(static_cast<unsigned char>(s_[pos_]))) ++pos_;  // 1L, 2u
            return wrap(v);
        }
        if (identStart(c)) {
            size_t b = pos_;
            while (pos_ < s_.size() && identChar(s_[pos_])) ++pos_;
            std::string id = s_.substr(b, pos_ - b);
            if (id == "defined") {
                bool paren = eat("(");
                skip();
                size_t nb = pos_;
                while (pos_ < s_.size() && identChar(s_[pos_])) ++pos_;
                std::string name = s_.substr(nb, pos_ - nb);
                if (name.empty()) return fail("defined needs a name"), 0;
                if (paren && !eat(")")) return fail("missing ')'"), 0;
                return macros_.count(name) ? 1 : 0;
            }
            auto it = macros_.find(id);
            if (it == macros_.end()) return 0;
            if (depth_ + d > kMaxDepth) return fail("macro nested too deeply"), 0;
            ExprEval sub(it->second, macros_, depth_ + d + 1);
            long long v = 0;
            std::string why;
            if (trim(it->second).empty()) return 0;
            if (!sub.run(v, why)) return fail("in value of " + id + ": " + why), 0;
            return v;
        }
        return fail(std::string("unexpected '") + c + "'"), 0;
    }
};

}  // namespace

bool Preprocessor::evaluate(const std::string& expr, long long& value, std::string& why) const {
    if (trim(expr).empty()) {
        why = "missing expression";
        return false;
    }
    ExprEval e(expr, macros_, 0);
    return e.run(value, why);
}

std::string Preprocessor::expand(const std::string& text, int file, int line) {
    if (macros_.empty()) return text;
    std::string cur = text;
    // Rescan until nothing changes; a name expanded in one round is not
    // expanded again in later rounds, so a macro never expands inside its
    // own expansion.
    std::set<std::string> used;
    for (int round = 0; round < 32; ++round) {
        std::set<std::string> expandedNow;
        std::string out;
        bool changed = false;
        char quote = 0;
        for (size_t i = 0; i < cur.size();) {
            char c = cur[i];
            if (quote) {
                out += c;
                if (c == quote) quote = 0;
                ++i;
                continue;
            }
            if (c == '\'' || c == '"') {
                quote = c;
                out += c;
                ++i;
                continue;
            }
            if (c == '!') {  // the rest is a comment
                out.append(cur, i, std::string::npos);
                break;
            }
            if (identStart(c) && (i == 0 || !identChar(cur[i - 1]))) {
                size_t b = i;
                while (i < cur.size() && identChar(cur[i])) ++i;
                std::string id = cur.substr(b, i - b);
                auto it = macros_.find(id);
                if (it != macros_.end() && !used.count(id)) {
                    out += it->second;
                    expandedNow.insert(id);
                    changed = true;
                } else {
                    out += id;
                }
                continue;
            }
            out += c;
            ++i;
        }
        if (out.size() > kMaxExpansion) {
            diags_.add(9, file, line, "", {"macro expansion too long; line left unexpanded"});
            return text;
        }
        if (out.size() > text.size() && out.size() - text.size() > growthLeft_) {
            if (!budgetReported_)
                diags_.add(9, file, line, "", {"macro expansion grows the file too much; further lines left unexpanded"});
            budgetReported_ = true;
            return text;
        }
        cur.swap(out);
        used.insert(expandedNow.begin(), expandedNow.end());
        if (!changed) break;
    }
    if (cur.size() > text.size()) growthLeft_ -= std::min(growthLeft_, cur.size() - text.size());
    return cur;
}

void Preprocessor::process(const std::vector<std::string>& raw, int file, bool free, std::vector<SourceLine>& out) {
    size_t bytes = 0;
    for (const auto& l : raw) bytes += l.size() + 1;
    growthLeft_ += kGrowthFactor * bytes;  // each file read adds to what expansion may add
    struct Cond {
        bool parentActive;
        bool taken;   // some branch already taken
        bool active;  // current branch active
        bool sawElse;
        int line;
    };
    std::vector<Cond> stack;
    auto active = [&]() { return stack.empty() || stack.back().active; };

    for (size_t i = 0; i < raw.size(); ++i) {
        const int lineNo = static_cast<int>(i) + 1;
        const std::string& text = raw[i];
        size_t p = text.find_first_not_of(" \t");
        SourceLine sl;
        sl.file = file;
        sl.line = lineNo;
        sl.free = free;
        if (p != std::string::npos && text[p] == '#') {
            sl.inactive = true;
            sl.text = text;
            std::string body = trim(text.substr(p + 1));
            size_t k = 0;
            while (k < body.size() && std::isalpha(static_cast<unsigned char>(body[k]))) ++k;
            std::string dir = body.substr(0, k);
            std::string rest = trim(body.substr(k));
            auto evalCond = [&](const std::string& e) {
                long long v = 0;
                std::string why;
                if (!evaluate(e, v, why)) {
                    diags_.add(9, file, lineNo, "", {"#" + dir + ": " + why});
                    return false;
                }
                return v != 0;
            };
            auto firstWord = [&](const std::string& s) {
                size_t n = 0;
                while (n < s.size() && identChar(s[n])) ++n;
                return s.substr(0, n);
            };
            if (dir == "if" || dir == "ifdef" || dir == "ifndef") {
                bool parent = active();
                bool v = false;
                if (parent) {
                    if (dir == "if") v = evalCond(rest);
                    else {
                        std::string name = firstWord(rest);
                        if (name.empty()) diags_.add(9, file, lineNo, "", {"#" + dir + " needs a name"});
                        v = isDefined(name) == (dir == "ifdef");
                    }
                }
                stack.push_back({parent, v, parent && v, false, lineNo});
            } else if (dir == "elif") {
                if (stack.empty() || stack.back().sawElse) {
                    diags_.add(9, file, lineNo, "", {"#elif without #if"});
                } else {
                    Cond& c = stack.back();
                    if (c.parentActive && !c.taken) {
                        c.active = evalCond(rest);
                        c.taken = c.active;
                    } else {
                        c.active = false;
                    }
                }
            } else if (dir == "else") {
                if (stack.empty() || stack.back().sawElse) {
                    diags_.add(9, file, lineNo, "", {"#else without #if"});
                } else {
                    Cond& c = stack.back();
                    c.sawElse = true;
                    c.active = c.parentActive && !c.taken;
                    c.taken = true;
                }
            } else if (dir == "endif") {
                if (stack.empty()) diags_.add(9, file, lineNo, "", {"#endif without #if"});
                else stack.pop_back();
            } else if (!active()) {
                // directives inside a skipped branch are not looked at
            } else if (dir == "define") {
                std::string name = firstWord(rest);
                if (name.empty() || !identStart(name[0])) {
                    diags_.add(9, file, lineNo, "", {"#define needs a name"});
                } else if (name.size() < rest.size() && rest[name.size()] == '(') {
                    diags_.add(9, file, lineNo, "", {"function-like macro " + name + " is not supported"});
                } else {
                    define(name, trim(rest.substr(name.size())));
                }
            } else if (dir == "undef") {
                undefine(firstWord(rest));
            } else if (dir == "include") {
                std::string name;
                if (rest.size() >= 2 && (rest[0] == '"' || rest[0] == '<')) {
                    char close = rest[0] == '"' ? '"' : '>';
                    size_t e = rest.find(close, 1);
                    if (e != std::string::npos) name = rest.substr(1, e - 1);
                }
                if (name.empty()) {
                    diags_.add(9, file, lineNo, "", {"#include needs a file name"});
                } else {
                    out.push_back(sl);
                    include_(name, file, lineNo, out);
                    continue;
                }
            } else if (dir.empty() && rest.empty()) {
                // a lone "#" is a null directive
            } else if (dir == "error") {
                diags_.add(9, file, lineNo, "", {"#error " + rest});
            } else if (dir == "pragma" || dir == "line" || dir == "warning" || dir == "ident") {
                // accepted and ignored
            } else {
                diags_.add(9, file, lineNo, "", {"unknown directive #" + dir});
            }
            out.push_back(sl);
            continue;
        }
        if (!active()) {
            sl.inactive = true;
            sl.text = text;
            out.push_back(sl);
            continue;
        }
        bool comment = !free && !text.empty() && (text[0] == 'C' || text[0] == 'c' || text[0] == '*');
        sl.text = comment ? text : expand(text, file, lineNo);
        out.push_back(std::move(sl));
    }
    for (const Cond& c : stack) diags_.add(9, file, c.line, "", {"#if without #endif"});
}

}  // namespace quarl
