#include "parser.hpp"

#include "parser_util.hpp"

#include <algorithm>
#include <cctype>
#include <functional>
#include <map>

namespace quarl {

namespace {

using namespace parse_util;

constexpr int kMaxNesting = 200;

const std::map<std::string, std::vector<std::string>>& gluedKeywords() {
    static const std::map<std::string, std::vector<std::string>> m = {
        {"ENDBLOCKDATA", {"END", "BLOCK", "DATA"}}, {"BLOCKDATA", {"BLOCK", "DATA"}},
        {"DOUBLEPRECISION", {"DOUBLE", "PRECISION"}}, {"DOUBLECOMPLEX", {"DOUBLE", "COMPLEX"}},
        {"ELSEIF", {"ELSE", "IF"}}, {"ENDIF", {"END", "IF"}}, {"ENDDO", {"END", "DO"}},
        {"ENDSELECT", {"END", "SELECT"}}, {"ENDSUBROUTINE", {"END", "SUBROUTINE"}},
        {"ENDFUNCTION", {"END", "FUNCTION"}}, {"ENDPROGRAM", {"END", "PROGRAM"}},
        {"ENDMODULE", {"END", "MODULE"}}, {"ENDINTERFACE", {"END", "INTERFACE"}},
        {"ENDTYPE", {"END", "TYPE"}}, {"ENDWHERE", {"END", "WHERE"}}, {"SELECTCASE", {"SELECT", "CASE"}},
        {"ELSEWHERE", {"ELSE", "WHERE"}}, {"GOTO", {"GO", "TO"}}, {"ENDFILE", {"ENDFILE"}},
        {"DOWHILE", {"DO", "WHILE"}}, {"INOUT", {"INOUT"}}};
    return m;
}

}  // namespace

size_t Parser::matchParen(const Toks& t, size_t open) {
    int depth = 0;
    for (size_t k = open; k < t.size(); ++k) {
        if (isOp(t[k], "(")) ++depth;
        else if (isOp(t[k], ")")) {
            if (--depth == 0) return k;
        }
    }
    return t.size() - 1;  // the End token
}

size_t Parser::findTop(const Toks& t, size_t b, size_t e, const char* op) {
    int depth = 0;
    for (size_t k = b; k < e && k < t.size(); ++k) {
        if (isOp(t[k], "(")) ++depth;
        else if (isOp(t[k], ")")) --depth;
        else if (depth == 0 && isOp(t[k], op)) return k;
    }
    return e;
}
// ---------------------------------------------------------------- units

void Parser::openUnit(UnitKind kind, const std::string& name, const std::vector<std::string>& dummies,
                      const std::string& type) {
    Unit* host = nullptr;
    if (cur_ && !cur_->ended) {
        if (contains_) {
            host = cur_;
        } else {
            diags_.add(5, cur_->file, line_, cur_->name, {cur_->name});
            closeUnit(line_ - 1);
            while (cur_ && !cur_->ended) closeUnit(line_ - 1);
        }
    }
    auto u = std::make_unique<Unit>();
    u->kind = kind;
    u->name = name;
    u->file = topFile_;
    u->startLine = line_;
    u->host = host;
    u->isInternal = host != nullptr;
    u->dummies = dummies;
    u->resultType = type;
    cur_ = u.get();
    if (kind == UnitKind::Module) modules_.emplace(name, cur_);
    prog_.units.push_back(std::move(u));
    contains_ = false;
    unreachable_ = false;
    reportedUnreachable_ = false;
    blocks_.clear();
    for (const auto& d : dummies) {
        if (d == "*") continue;
        Symbol& s = cur_->sym(d, file_, line_);
        s.isDummy = true;
        s.refs.push_back({line_, file_, RefKind::Declared});
    }
    if (kind == UnitKind::Function) {
        Symbol& s = cur_->sym(name, file_, line_);
        s.isResult = true;
        if (!type.empty()) {
            s.type = type;
            s.explicitType = true;
            s.declLine = line_;
            s.declFile = file_;
        }
    }
}

void Parser::closeUnit(int line) {
    if (!cur_) return;
    cur_->ended = true;
    cur_->endLine = line;
    for (const auto& b : blocks_) diags_.add(12, file_, b.line, cur_->name, {b.kind, "END " + b.kind});
    blocks_.clear();
    Unit* host = cur_->host;
    cur_ = host;
    contains_ = host != nullptr;  // back in the host's CONTAINS part
    unreachable_ = false;
}

void Parser::ensureUnit() {
    if (!cur_ || cur_->ended) openUnit(UnitKind::Program, "%MAIN", {}, "");
}

void Parser::begin(int topFile) {
    topFile_ = topFile;
    cur_ = nullptr;
    contains_ = false;
    interfaceDepth_ = 0;
    inTypeDef_ = false;
}

void Parser::end() {
    while (cur_ && !cur_->ended) {
        diags_.add(5, cur_->file, cur_->startLine, cur_->name, {cur_->name});
        closeUnit(line_);
    }
}

void Parser::parseFile(const std::vector<Statement>& stmts, int topFile) {
    begin(topFile);
    for (const auto& st : stmts) statement(st);
    end();
}

// ---------------------------------------------------------------- references

void Parser::useName(const std::string& n, RefKind kind) {
    if (excluded_.count(n)) return;
    Symbol& s = cur_->sym(n, file_, line_);
    s.isStmtDummy = false;
    s.refs.push_back({line_, file_, kind});
    if (kind == RefKind::Used || kind == RefKind::Argument) {
        if (s.uses++ == 0) s.firstUseLine = line_;
    }
    if (kind == RefKind::Argument) {
        s.passedAsArg = true;
        if (s.sets++ == 0) s.firstSetLine = line_;
    }
}

void Parser::setName(const std::string& n) {
    if (excluded_.count(n)) return;
    Symbol& s = cur_->sym(n, file_, line_);
    s.isStmtDummy = false;
    s.refs.push_back({line_, file_, RefKind::Set});
    if (s.sets++ == 0) s.firstSetLine = line_;
}

void Parser::labelUse(const std::string& l) {
    std::string k = l;
    k.erase(0, std::min(k.find_first_not_of('0'), k.size() - 1));
    cur_->labelsUsed[k].push_back({file_, line_});
}

// Fortran 90 features matter only for a Fortran 77 target; extensions
// beyond the standards (sized types, BYTE, DOUBLE COMPLEX) for every target,
// since no two vendors agree on them.
void Parser::portability(const std::string& feature, bool f90Feature) {
    for (const auto& t : opt_.targets) {
        if (f90Feature && t != "ANSI77") continue;
        diags_.add(117, file_, line_, cur_ ? cur_->name : "", {t, feature});
    }
    if (f90Feature && opt_.language == 77) diags_.add(203, file_, line_, cur_ ? cur_->name : "", {feature});
}

// ---------------------------------------------------------------- statements

void Parser::statement(const Statement& st) {
    file_ = st.file;
    line_ = st.line;
    if (st.directive) {
        if (cur_) ++cur_->statements;
        diags_.add(202, file_, line_, cur_ ? cur_->name : "", {st.text});
        return;
    }
    std::vector<Token> tv = tokenize(st.text);
    // Split keywords written without blanks (ENDIF, GOTO10, DOUBLEPRECISION).
    if (tv.size() > 1 && tv[0].kind == Tok::Ident && !isOp(tv[1], "=") && !isOp(tv[1], "%")) {
        const auto& glued = gluedKeywords();
        std::string w = tv[0].text;
        std::vector<std::string> parts;
        auto it = glued.find(w);
        if (it != glued.end()) parts = it->second;
        else if (w.size() > 4 && w.rfind("GOTO", 0) == 0 && allDigits(w.substr(4))) parts = {"GO", "TO", w.substr(4)};
        else if (w.size() > 4 && w.compare(0, 4, "CALL") == 0 && (isOp(tv[1], "(") || tv[1].kind == Tok::End)) {
            // CALLSUB(X): a call unless it is an assignment to an array element
            size_t close = 1;
            int d = 0;
            for (; close < tv.size(); ++close) {
                if (isOp(tv[close], "(")) ++d;
                else if (isOp(tv[close], ")") && --d == 0) break;
            }
            if (tv[1].kind == Tok::End || close + 1 >= tv.size() || !isOp(tv[close + 1], "="))
                parts = {"CALL", w.substr(4)};
        }
        if (parts.size() > 1) {
            std::vector<Token> nt;
            for (const auto& p : parts) nt.push_back({allDigits(p) ? Tok::Int : Tok::Ident, p});
            nt.insert(nt.end(), tv.begin() + 1, tv.end());
            tv.swap(nt);
        }
    }
    // DO10I=1,N is a DO loop; DO10I=1.5 (no comma) is an assignment
    if (tv.size() > 3 && tv[0].kind == Tok::Ident && isOp(tv[1], "=") && tv[0].text.size() > 3 &&
        tv[0].text.compare(0, 2, "DO") == 0) {
        const std::string& w = tv[0].text;
        size_t p = 2;
        while (p < w.size() && std::isdigit(static_cast<unsigned char>(w[p]))) ++p;
        bool comma = false;
        int d = 0;
        for (size_t k = 2; k < tv.size(); ++k) {
            if (isOp(tv[k], "(")) ++d;
            else if (isOp(tv[k], ")")) --d;
            else if (d == 0 && isOp(tv[k], ",")) comma = true;
        }
        if (comma && p < w.size() && std::isalpha(static_cast<unsigned char>(w[p]))) {
            std::vector<Token> nt;
            nt.push_back({Tok::Ident, "DO"});
            if (p > 2) nt.push_back({Tok::Int, w.substr(2, p - 2)});
            nt.push_back({Tok::Ident, w.substr(p)});
            nt.insert(nt.end(), tv.begin() + 1, tv.end());
            tv.swap(nt);
        }
    }
    const Toks t(std::move(tv));
    int depth = 0, deepest = 0;
    for (const auto& tk : t) {
        if (isOp(tk, "(")) deepest = std::max(deepest, ++depth);
        else if (isOp(tk, ")")) --depth;
        if (depth < 0) break;
    }
    if (depth != 0) {
        ensureUnit();
        diags_.add(4, file_, line_, cur_->name, {});
    }
    if (deepest > kMaxNesting) {
        // expressions are scanned recursively; absurd nesting is refused
        // instead of exhausting the stack
        ensureUnit();
        diags_.add(21, file_, line_, cur_->name, {std::to_string(kMaxNesting)});
        return;
    }
    std::string label;
    if (!st.label.empty()) {
        if (allDigits(st.label) && st.label.size() <= 5) {
            label = st.label;
            label.erase(0, std::min(label.find_first_not_of('0'), label.size() - 1));
        } else {
            ensureUnit();
            diags_.add(3, file_, line_, cur_->name, {});
        }
    }
    if (interfaceDepth_ > 0) {
        // Interface bodies only declare procedures.
        if (isId(t[0], "END") && t.size() > 1 && isId(t[1], "INTERFACE")) {
            --interfaceDepth_;
            return;
        }
        if (isId(t[0], "INTERFACE")) {
            ++interfaceDepth_;
            return;
        }
        if (isId(t[0], "MODULE") && isId(t[1], "PROCEDURE") && !genericName_.empty()) {
            for (size_t q = 2; t[q].kind != Tok::End; ++q)
                if (t[q].kind == Tok::Ident) prog_.generics[genericName_].push_back(t[q].text);
            return;
        }
        size_t i = 0;
        std::string type;
        while (t[i].kind == Tok::Ident &&
               (t[i].text == "RECURSIVE" || t[i].text == "PURE" || t[i].text == "ELEMENTAL"))
            ++i;
        if (t[i].kind == Tok::Ident && isTypeKeyword(t[i].text)) {
            size_t j = i;
            if (parseTypeSpec(t, j, type) && isId(t[j], "FUNCTION")) i = j;
            else type.clear();
        }
        if ((isId(t[i], "SUBROUTINE") || isId(t[i], "FUNCTION")) && t[i + 1].kind == Tok::Ident && cur_) {
            UnitKind k = t[i].text == "SUBROUTINE" ? UnitKind::Subroutine : UnitKind::Function;
            std::string n = t[i + 1].text;
            int nargs = 0;
            if (isOp(t[i + 2], "(")) {
                size_t c = matchParen(t, i + 2);
                if (c > i + 3) {
                    nargs = 1;
                    for (size_t q = i + 3; q < c; ++q)
                        if (isOp(t[q], ",")) ++nargs;
                }
            }
            prog_.interfaces[n] = {k, nargs};
            if (!genericName_.empty()) prog_.generics[genericName_].push_back(n);
            Symbol& s = cur_->sym(n, file_, line_);
            s.isExternal = true;
            s.isProcedure = true;
            s.refs.push_back({line_, file_, RefKind::Declared});
            if (!type.empty()) {
                s.type = type;
                s.explicitType = true;
            }
            if (k == UnitKind::Subroutine) s.explicitType = true;  // no type to declare
        }
        return;
    }
    if (inTypeDef_) {
        if (isId(t[0], "END") && t.size() > 1 && isId(t[1], "TYPE")) inTypeDef_ = false;
        return;
    }
    if (t[0].kind == Tok::End) {
        // a label alone acts as CONTINUE
        if (!label.empty()) {
            ensureUnit();
            dispatch(t, 0, label);
        }
        return;
    }
    if (header(t, 0)) {
        if (!label.empty()) diags_.add(19, file_, line_, cur_ ? cur_->name : "", {"label on a unit header"});
        if (cur_) ++cur_->statements;
        return;
    }
    ensureUnit();
    ++cur_->statements;
    dispatch(t, 0, label);
}

bool Parser::parseTypeSpec(const Toks& t, size_t& i, std::string& type) {
    if (t[i].kind != Tok::Ident) return false;
    std::string w = t[i].text;
    if (w == "DOUBLE") {
        if (isId(t[i + 1], "PRECISION")) type = "DOUBLE PRECISION";
        else if (isId(t[i + 1], "COMPLEX")) type = "DOUBLE COMPLEX";
        else return false;
        i += 2;
        return true;
    }
    if (w == "TYPE" || w == "CLASS") {
        if (!isOp(t[i + 1], "(")) return false;
        size_t c = matchParen(t, i + 1);
        type = w + "(" + joinText(t, i + 2, c) + ")";
        i = c + 1;
        return true;
    }
    if (!isTypeKeyword(w)) return false;
    type = w;
    ++i;
    if (isOp(t[i], "*")) {
        if (t[i + 1].kind == Tok::Int) {
            type += "*" + t[i + 1].text;
            i += 2;
        } else if (isOp(t[i + 1], "(")) {
            size_t c = matchParen(t, i + 1);
            type += "*(" + joinText(t, i + 2, c) + ")";
            i = c + 1;
        }
    } else if (isOp(t[i], "(")) {
        size_t c = matchParen(t, i);
        std::string sel = joinText(t, i + 1, c);
        // CHARACTER(LEN=10) and CHARACTER(10) are lengths; others are kinds
        if (w == "CHARACTER") {
            if (sel.rfind("LEN=", 0) == 0) sel = sel.substr(4);
            size_t comma = sel.find(',');
            if (comma != std::string::npos) sel = sel.substr(0, comma);
            type += "*" + (allDigits(sel) ? sel : "(" + sel + ")");
        } else {
            if (sel.rfind("KIND=", 0) == 0) sel = sel.substr(5);
            type += "(" + sel + ")";
        }
        i = c + 1;
    }
    return true;
}

bool Parser::header(const Toks& t, size_t i) {
    // Most statements are no unit header: only these words can start one.
    if (t[i].kind != Tok::Ident) return false;
    {
        const std::string& f = t[i].text;
        bool maybe = f == "PROGRAM" || f == "SUBROUTINE" || f == "FUNCTION" || f == "BLOCK" || f == "MODULE" ||
                     f == "RECURSIVE" || f == "PURE" || f == "ELEMENTAL" || f == "IMPURE";
        if (!maybe && isTypeKeyword(f))
            for (size_t k = i + 1; k < t.size() && !maybe; ++k) maybe = isId(t[k], "FUNCTION");
        if (!maybe) return false;
    }
    std::string type;
    size_t j = i;
    while (t[j].kind == Tok::Ident && (t[j].text == "RECURSIVE" || t[j].text == "PURE" ||
                                       t[j].text == "ELEMENTAL" || t[j].text == "IMPURE"))
        ++j;
    if (t[j].kind == Tok::Ident && isTypeKeyword(t[j].text) && !(t[j].text == "TYPE" && !isOp(t[j + 1], "("))) {
        size_t k = j;
        std::string ty;
        if (parseTypeSpec(t, k, ty)) {
            while (t[k].kind == Tok::Ident && (t[k].text == "RECURSIVE" || t[k].text == "PURE" || t[k].text == "ELEMENTAL"))
                ++k;
            if (isId(t[k], "FUNCTION") && t[k + 1].kind == Tok::Ident) {
                type = ty;
                j = k;
            }
        }
    }
    if (t[j].kind != Tok::Ident) return false;
    const std::string& w = t[j].text;
    auto dummies = [&](size_t open) {
        std::vector<std::string> d;
        if (!isOp(t[open], "(")) return d;
        size_t c = matchParen(t, open);
        for (size_t q = open + 1; q < c; ++q)
            if (t[q].kind == Tok::Ident) d.push_back(t[q].text);
            else if (isOp(t[q], "*")) d.push_back("*");
        return d;
    };
    if (w == "PROGRAM" && t[j + 1].kind == Tok::Ident && j == i) {
        openUnit(UnitKind::Program, t[j + 1].text, {}, "");
        return true;
    }
    if (w == "SUBROUTINE" && t[j + 1].kind == Tok::Ident &&
        (t[j + 2].kind == Tok::End || isOp(t[j + 2], "(") || isId(t[j + 2], "BIND"))) {
        openUnit(UnitKind::Subroutine, t[j + 1].text, dummies(j + 2), "");
        return true;
    }
    if (w == "FUNCTION" && t[j + 1].kind == Tok::Ident && isOp(t[j + 2], "(")) {
        std::string name = t[j + 1].text;
        openUnit(UnitKind::Function, name, dummies(j + 2), type);
        size_t c = matchParen(t, j + 2);
        if (isId(t[c + 1], "RESULT") && isOp(t[c + 2], "(") && t[c + 3].kind == Tok::Ident) {
            Symbol& r = cur_->sym(t[c + 3].text, file_, line_);
            r.isResult = true;
            if (!type.empty()) {
                r.type = type;
                r.explicitType = true;
            }
            portability("RESULT clause", true);
        }
        return true;
    }
    if (w == "BLOCK" && isId(t[j + 1], "DATA") && j == i) {
        openUnit(UnitKind::BlockData, t[j + 2].kind == Tok::Ident ? t[j + 2].text : "%BLOCKDATA", {}, "");
        return true;
    }
    if (w == "MODULE" && t[j + 1].kind == Tok::Ident && t[j + 1].text != "PROCEDURE" && t[j + 2].kind == Tok::End &&
        j == i) {
        openUnit(UnitKind::Module, t[j + 1].text, {}, "");
        portability("MODULE", true);
        return true;
    }
    return false;
}

void Parser::dispatch(const Toks& t, size_t i, const std::string& label) {
    curLabel_ = label;
    if (!label.empty()) {
        auto& defs = cur_->labelsDefined;
        if (defs.count(label)) diags_.add(8, file_, line_, cur_->name, {label});
        else defs[label] = {file_, line_};
        unreachable_ = false;
        reportedUnreachable_ = false;
        // a labelled statement ends the DO loops that name it
        while (!blocks_.empty() && blocks_.back().kind == "DO" && blocks_.back().label == label) blocks_.pop_back();
    }
    if (t[i].kind == Tok::End) return;
    const std::string w = t[i].kind == Tok::Ident ? t[i].text : "";
    bool assignment = t[i].kind == Tok::Ident && !isOp(t[i + 1], "=="); 
    if (assignment) {
        size_t k = i + 1;
        while (isOp(t[k], "(") || isOp(t[k], "%")) {
            if (isOp(t[k], "(")) k = matchParen(t, k) + 1;
            else k += 2;
        }
        assignment = isOp(t[k], "=") || isOp(t[k], "=>");
        // "DO 10 I = 1, N" and "IF (X) Y = 1" never get here as assignments:
        // their second token is no "(" directly followed by "=".
        if (assignment && (w == "IF" || w == "WHERE" || w == "FORALL") && isOp(t[i + 1], "(") &&
            !isOp(t[matchParen(t, i + 1) + 1], "=") && !isOp(t[matchParen(t, i + 1) + 1], "=>"))
            assignment = false;
    }
    if (!assignment && declaration(t, i)) {
        if (!label.empty() && !cur_->labelIsFormat.count(label)) cur_->labelIsFormat[label] = false;
        return;
    }
    // executable statements
    bool isEndLike = w == "END" || w == "ELSE" || w == "CASE" || w == "CONTINUE" || w == "ENTRY" ||
                     w == "FORMAT" || w == "CONTAINS";
    if (unreachable_ && !reportedUnreachable_ && !isEndLike) {
        diags_.add(105, file_, line_, cur_->name, {});
        reportedUnreachable_ = true;
    }
    if (!(isEndLike && w == "FORMAT")) ++cur_->executable;
    if (assignment) {
        // statement function: F(X,Y) = expr before the first executable statement
        const Symbol* s = lookup(w);
        bool stmtFunc = isOp(t[i + 1], "(") && cur_->executable <= 1 && !(s && (s->isArray || s->isParam)) &&
                        !(s && baseType(s->type) == "CHARACTER" && s->explicitType && !s->isResult &&
                          findTop(t, i + 2, matchParen(t, i + 1), ":") < matchParen(t, i + 1));
        if (stmtFunc && isOp(t[matchParen(t, i + 1) + 1], "=")) {
            size_t c = matchParen(t, i + 1);
            --cur_->executable;
            Symbol& sf = cur_->sym(w, file_, line_);
            sf.isStmtFunc = true;
            sf.refs.push_back({line_, file_, RefKind::Declared});
            std::set<std::string> dummies;
            for (size_t q = i + 2; q < c; ++q)
                if (t[q].kind == Tok::Ident) {
                    dummies.insert(t[q].text);
                    // its type still follows the unit's rules, so it is checked for typing
                    if (!cur_->find(t[q].text)) {
                        Symbol& d = cur_->sym(t[q].text, file_, line_);
                        d.isStmtDummy = true;
                        d.refs.push_back({line_, file_, RefKind::Declared});
                    }
                }
            excluded_ = dummies;
            expr(t, c + 2, t.size() - 1);
            excluded_.clear();
            return;
        }
        size_t eq = i + 1;
        while (isOp(t[eq], "(") || isOp(t[eq], "%")) eq = isOp(t[eq], "(") ? matchParen(t, eq) + 1 : eq + 2;
        maxlocCall_ = false;
        expr(t, eq + 1, t.size() - 1);
        designator(t, i, eq, true);
        if (maxlocCall_) {
            const Symbol* lhs = cur_->find(w);
            if (lhs && !lhs->isArray && eq == i + 1) diags_.add(115, file_, line_, cur_->name, {w});
        }
        return;
    }
    executable(t, i);
}

}  // namespace quarl
