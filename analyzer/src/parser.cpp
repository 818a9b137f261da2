#include "parser.hpp"

#include <algorithm>
#include <cctype>
#include <functional>
#include <map>

namespace quarl {

namespace {

constexpr int kMaxNesting = 200;

bool isOp(const Token& t, const char* op) { return t.kind == Tok::Op && t.text == op; }
bool isId(const Token& t, const char* w) { return t.kind == Tok::Ident && t.text == w; }

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

bool isTypeKeyword(const std::string& w) {
    return w == "INTEGER" || w == "REAL" || w == "DOUBLE" || w == "COMPLEX" || w == "LOGICAL" ||
           w == "CHARACTER" || w == "BYTE" || w == "TYPE" || w == "CLASS";
}

std::string joinText(const Tokens& t, size_t b, size_t e) {
    std::string s;
    for (size_t k = b; k < e && k < t.size(); ++k) {
        if (t[k].kind == Tok::End) break;
        if (t[k].kind == Tok::String) s += "'" + t[k].text + "'";
        else s += t[k].text;
    }
    return s;
}

bool allDigits(const std::string& s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](unsigned char c) { return std::isdigit(c); });
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

// ---------------------------------------------------------------- expressions

const Symbol* Parser::lookup(const std::string& n) const {
    const Symbol* local = cur_->find(n);
    if (local && (local->declLine || local->explicitType || local->isDummy || local->isArray || local->isParam ||
                  local->isStmtFunc || local->isExternal || local->isIntrinsic || local->inCommon))
        return local;
    if (!cur_->host && cur_->uses.empty()) return local;
    // host association and modules parsed earlier
    for (const Unit* u = cur_; u; u = u->host) {
        if (u != cur_)
            if (const Symbol* s = u->find(n))
                if (s->explicitType || s->isArray || s->declLine) return s;
        auto rn = u->useRenames.find(n);
        for (const auto& m : u->uses) {
            auto mod = modules_.find(m);
            const std::string& remote = rn != u->useRenames.end() && rn->second.first == m ? rn->second.second : n;
            if (mod != modules_.end())
                if (const Symbol* s = mod->second->find(remote))
                    if (s->explicitType || s->isArray || s->declLine) return s;
        }
    }
    return local;
}

std::string Parser::exprType(const Toks& t, size_t b, size_t e) {
    if (b >= e) return "";
    if (e == b + 1) {
        switch (t[b].kind) {
            case Tok::Int: return "INTEGER";
            case Tok::Real: return "REAL";
            case Tok::Double: return "DOUBLE PRECISION";
            case Tok::String: return "CHARACTER";
            case Tok::Logical: return "LOGICAL";
            default: break;
        }
    }
    // relational or logical operators make a LOGICAL; "//" a CHARACTER
    int depth = 0;
    for (size_t k = b; k < e; ++k) {
        if (isOp(t[k], "(")) ++depth;
        else if (isOp(t[k], ")")) --depth;
        if (depth != 0 || t[k].kind != Tok::Op) continue;
        const std::string& o = t[k].text;
        if (o == "==" || o == "/=" || o == "<" || o == ">" || o == "<=" || o == ">=" || (o.size() > 2 && o[0] == '.'))
            return "LOGICAL";
        if (o == "//") return "CHARACTER";
    }
    // otherwise the highest arithmetic type of the operands
    static const char* const order[] = {"INTEGER", "REAL", "DOUBLE PRECISION", "COMPLEX"};
    int best = -1;
    depth = 0;
    for (size_t k = b; k < e; ++k) {
        if (isOp(t[k], "(")) {
            ++depth;
            continue;
        }
        if (isOp(t[k], ")")) {
            --depth;
            continue;
        }
        if (depth != 0) continue;
        std::string ty;
        if (t[k].kind == Tok::Int) ty = "INTEGER";
        else if (t[k].kind == Tok::Real) ty = "REAL";
        else if (t[k].kind == Tok::Double) ty = "DOUBLE PRECISION";
        else if (t[k].kind == Tok::Ident) {
            if (k > b && isOp(t[k - 1], "%")) return "";
            bool call = k + 1 < e && isOp(t[k + 1], "(");
            const Symbol* s = lookup(t[k].text);
            if (call && (!s || !s->isArray) && isIntrinsic(t[k].text)) return "";  // generic result
            ty = s ? baseType(s->type) : baseType(cur_->implicitType(t[k].text));
        } else if (t[k].kind == Tok::Op) {
            continue;
        } else {
            return "";
        }
        int idx = -1;
        for (int q = 0; q < 4; ++q)
            if (ty == order[q]) idx = q;
        if (idx < 0) return "";
        best = std::max(best, idx);
    }
    return best < 0 ? "" : order[best];
}

void Parser::callArgs(const Toks& t, size_t open, size_t close, CallSite& cs) {
    if (close <= open + 1) return;
    size_t b = open + 1;
    while (b < close) {
        size_t e = findTop(t, b, close, ",");
        ActualArg a;
        a.text = joinText(t, b, e);
        size_t vb = b;
        // keyword argument NAME=value
        if (e > b + 1 && t[b].kind == Tok::Ident && isOp(t[b + 1], "=")) vb = b + 2;
        if (vb < e && (isOp(t[vb], "*") || isOp(t[vb], "&")) && vb + 1 < e && t[vb + 1].kind == Tok::Int) {
            labelUse(t[vb + 1].text);  // alternate return
            a.type = "LABEL";
        } else if (vb < e && t[vb].kind == Tok::Ident) {
            size_t after = vb + 1;
            const Symbol* s = lookup(t[vb].text);
            bool paren = after < e && isOp(t[after], "(");
            bool arrayish = s && (s->isArray || baseType(s->type) == "CHARACTER");
            size_t pend = paren ? matchParen(t, after) + 1 : after;
            if (pend == e && (!paren || arrayish)) {
                // a variable, array or array element: the callee may set it
                a.isName = !paren;
                const std::string& n = t[vb].text;
                if (paren) expr(t, after + 1, pend - 1);
                bool procName = s && (s->isExternal || s->isProcedure || s->isIntrinsic);
                // intrinsics never change their arguments
                useName(n, procName || cs.intrinsic ? RefKind::Used : RefKind::Argument);
                const Symbol* s2 = lookup(n);
                a.type = s2 ? baseType(s2->type) : "";
                if (s2 && (s2->isExternal || s2->isIntrinsic)) a.type = "PROCEDURE";
            } else {
                expr(t, vb, e);
                a.type = exprType(t, vb, e);
            }
        } else {
            expr(t, vb, e);
            a.type = exprType(t, vb, e);
        }
        cs.args.push_back(std::move(a));
        b = e + 1;
    }
}

size_t Parser::designator(const Toks& t, size_t i, size_t e, bool set) {
    if (i >= e || t[i].kind != Tok::Ident) return i + 1;
    const std::string n = t[i].text;
    size_t k = i + 1;
    if (set) setName(n);
    else useName(n, RefKind::Used);
    while (k < e) {
        if (isOp(t[k], "(")) {
            size_t c = matchParen(t, k);
            expr(t, k + 1, std::min(c, e));
            k = c + 1;
        } else if (isOp(t[k], "%") && k + 1 < e && t[k + 1].kind == Tok::Ident) {
            k += 2;
        } else {
            break;
        }
    }
    return k;
}

void Parser::expr(const Toks& t, size_t b, size_t e) {
    for (size_t k = b; k < e && k < t.size();) {
        const Token& tk = t[k];
        if (tk.kind != Tok::Ident) {
            ++k;
            continue;
        }
        if (k > b && isOp(t[k - 1], "%")) {  // component name
            ++k;
            continue;
        }
        // keyword argument inside an intrinsic or function call
        if (k + 1 < e && isOp(t[k + 1], "=") && k > b && (isOp(t[k - 1], ",") || isOp(t[k - 1], "("))) {
            k += 2;
            continue;
        }
        const std::string& n = tk.text;
        bool paren = k + 1 < e && isOp(t[k + 1], "(");
        if (!paren) {
            const Symbol* s = lookup(n);
            if (s && (s->isExternal || s->isIntrinsic) && !excluded_.count(n)) {
                useName(n, RefKind::Used);  // procedure name passed on
            } else {
                useName(n, RefKind::Used);
            }
            ++k;
            continue;
        }
        size_t close = matchParen(t, k + 1);
        const Symbol* s = lookup(n);
        bool array = s && s->isArray;
        bool substring = s && !s->isArray && baseType(s->type) == "CHARACTER" && !s->isExternal &&
                         !s->isResult && !s->isStmtFunc && !s->isProcedure && s->explicitType &&
                         findTop(t, k + 2, close, ":") < close;
        if (excluded_.count(n) || array || substring) {
            useName(n, RefKind::Used);
            expr(t, k + 2, close);
        } else if (s && s->isStmtFunc) {
            useName(n, RefKind::Used);
            expr(t, k + 2, close);
        } else if (isIntrinsic(n) && !(s && (s->isExternal || s->isDummy))) {
            CallSite cs;
            cs.callee = n;
            cs.asFunction = true;
            cs.intrinsic = true;
            cs.line = line_;
            cs.file = file_;
            Symbol& sy = cur_->sym(n, file_, line_);
            sy.isIntrinsic = true;
            sy.refs.push_back({line_, file_, RefKind::Called});
            // the call is listed before the calls in its arguments
            size_t slot = cur_->calls.size();
            cur_->calls.push_back(cs);
            callArgs(t, k + 1, close, cs);
            cur_->calls[slot].args = std::move(cs.args);
            if (opt_.ansiMaxloc && (n == "MAXLOC" || n == "MINLOC")) maxlocCall_ = true;
        } else {
            // an external (or dummy) function reference
            CallSite cs;
            cs.callee = n;
            cs.asFunction = true;
            cs.line = line_;
            cs.file = file_;
            Symbol& sy = cur_->sym(n, file_, line_);
            sy.isProcedure = true;
            sy.usedAsFunc = true;
            sy.refs.push_back({line_, file_, RefKind::Called});
            size_t slot = cur_->calls.size();
            cur_->calls.push_back(cs);
            callArgs(t, k + 1, close, cs);
            cur_->calls[slot].args = std::move(cs.args);
        }
        k = close + 1;
    }
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
        if (parts.size() > 1) {
            std::vector<Token> nt;
            for (const auto& p : parts) nt.push_back({allDigits(p) ? Tok::Int : Tok::Ident, p});
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

// ---------------------------------------------------------------- declarations

void Parser::typeStatement(const Toks& t, size_t i, const std::string& type) {
    bool param = false, external = false, intrinsic = false, save = false, hasColons = false, optional = false;
    std::vector<std::string> dims;
    bool dimAttr = false;
    // attributes: ", DIMENSION(..), PARAMETER ... ::"
    size_t k = i;
    size_t colons = findTop(t, i, t.size() - 1, "::");
    if (colons < t.size() - 1) {
        hasColons = true;
        portability("type declaration with ::", true);
        for (size_t q = i; q < colons; ++q) {
            if (t[q].kind != Tok::Ident) continue;
            const std::string& a = t[q].text;
            if (a == "PARAMETER") param = true;
            else if (a == "EXTERNAL") external = true;
            else if (a == "INTRINSIC") intrinsic = true;
            else if (a == "SAVE") save = true;
            else if (a == "OPTIONAL") optional = true;
            else if (a == "DIMENSION" && isOp(t[q + 1], "(")) {
                size_t c = matchParen(t, q + 1);
                dimAttr = true;
                size_t b = q + 2;
                while (b < c) {
                    size_t e = findTop(t, b, c, ",");
                    dims.push_back(joinText(t, b, e));
                    expr(t, b, e);
                    b = e + 1;
                }
                q = c;
            } else if (isOp(t[q + 1], "(")) {
                q = matchParen(t, q + 1);  // INTENT(IN) and the like
            }
        }
        k = colons + 1;
    } else if (isOp(t[k], ",")) {
        ++k;
    }
    while (t[k].kind != Tok::End) {
        if (t[k].kind != Tok::Ident) {
            ++k;
            continue;
        }
        const std::string n = t[k].text;
        Symbol& s = cur_->sym(n, file_, line_);
        if (s.explicitType && !s.fromModule && !s.isResult) diags_.add(10, file_, line_, cur_->name, {n});
        s.explicitType = true;
        if (!s.declLine) {
            s.declLine = line_;
            s.declFile = file_;
        }
        s.type = type;
        s.refs.push_back({line_, file_, RefKind::Declared});
        if (external) s.isExternal = s.isProcedure = true;
        if (intrinsic) s.isIntrinsic = s.declaredIntrinsic = true;
        if (save) s.isSave = true;
        if (optional) s.isOptional = true;
        if (dimAttr) {
            s.isArray = true;
            s.dims = dims;
        }
        ++k;
        if (isOp(t[k], "(")) {
            size_t c = matchParen(t, k);
            s.isArray = true;
            s.dims.clear();
            size_t b = k + 1;
            while (b < c) {
                size_t e = findTop(t, b, c, ",");
                s.dims.push_back(joinText(t, b, e));
                expr(t, b, e);
                b = e + 1;
            }
            k = c + 1;
        }
        if (isOp(t[k], "*")) {  // per-entity length: CHARACTER A*10
            std::string base = baseType(type);
            if (t[k + 1].kind == Tok::Int) {
                s.type = base + "*" + t[k + 1].text;
                k += 2;
            } else if (isOp(t[k + 1], "(")) {
                size_t c = matchParen(t, k + 1);
                s.type = base + "*(" + joinText(t, k + 2, c) + ")";
                k = c + 1;
            }
        }
        if (isOp(t[k], "=") || isOp(t[k], "=>")) {
            size_t e = findTop(t, k + 1, t.size() - 1, ",");
            expr(t, k + 1, e);
            if (param) {
                s.isParam = true;
                s.paramValue = joinText(t, k + 1, e);
            } else {
                s.inData = true;
                setName(n);
            }
            k = e;
        } else if (isOp(t[k], "/") && !hasColons) {  // old-style initial value: INTEGER I /5/
            size_t e = k + 1;
            while (t[e].kind != Tok::End && !isOp(t[e], "/")) ++e;
            expr(t, k + 1, e);
            s.inData = true;
            setName(n);
            k = e + 1;
        }
        if (isOp(t[k], ",")) ++k;
    }
}

void Parser::commonStatement(const Toks& t, size_t i) {
    std::string block;
    CommonDecl cd;
    cd.line = line_;
    cd.file = file_;
    auto finish = [&]() {
        if (!cd.members.empty()) {
            // members of one block named twice in a unit continue the block
            auto it = std::find_if(cur_->commons.begin(), cur_->commons.end(),
                                   [&](const CommonDecl& c) { return c.block == cd.block; });
            if (it != cur_->commons.end()) it->members.insert(it->members.end(), cd.members.begin(), cd.members.end());
            else cur_->commons.push_back(cd);
        }
        cd.members.clear();
    };
    size_t k = i;
    cd.block = "";
    while (t[k].kind != Tok::End) {
        if (isOp(t[k], "//")) {
            finish();
            cd.block = "";
            ++k;
            continue;
        }
        if (isOp(t[k], "/")) {
            finish();
            size_t e = k + 1;
            std::string name;
            while (t[e].kind != Tok::End && !isOp(t[e], "/")) name += t[e++].text;
            cd.block = name;
            k = e + 1;
            continue;
        }
        if (t[k].kind == Tok::Ident) {
            const std::string n = t[k].text;
            Symbol& s = cur_->sym(n, file_, line_);
            s.inCommon = true;
            s.common = cd.block.empty() ? "//" : cd.block;
            s.refs.push_back({line_, file_, RefKind::Declared});
            cd.members.push_back(n);
            ++k;
            if (isOp(t[k], "(")) {
                size_t c = matchParen(t, k);
                s.isArray = true;
                s.dims.clear();
                size_t b = k + 1;
                while (b < c) {
                    size_t e = findTop(t, b, c, ",");
                    s.dims.push_back(joinText(t, b, e));
                    expr(t, b, e);
                    b = e + 1;
                }
                k = c + 1;
            }
            continue;
        }
        ++k;
    }
    finish();
}

void Parser::dataStatement(const Toks& t, size_t i) {
    size_t k = i;
    while (t[k].kind != Tok::End) {
        // name list up to "/"
        size_t slash = k;
        int depth = 0;
        while (t[slash].kind != Tok::End) {
            if (isOp(t[slash], "(")) ++depth;
            else if (isOp(t[slash], ")")) --depth;
            else if (depth == 0 && isOp(t[slash], "/")) break;
            ++slash;
        }
        for (size_t q = k; q < slash; ++q) {
            if (t[q].kind != Tok::Ident || (q > k && isOp(t[q - 1], "%"))) continue;
            if (isOp(t[q + 1], "=")) continue;  // implied-DO variable
            Symbol* s = &cur_->sym(t[q].text, file_, line_);
            bool subscript = false;
            // names inside subscripts are uses
            int d = 0;
            for (size_t r = k; r < q; ++r) {
                if (isOp(t[r], "(")) ++d;
                else if (isOp(t[r], ")")) --d;
            }
            if (d > 0) {
                const Symbol* owner = nullptr;
                for (size_t r = q; r > k; --r)
                    if (isOp(t[r - 1], "(") && r >= 2 && t[r - 2].kind == Tok::Ident) {
                        owner = cur_->find(t[r - 2].text);
                        break;
                    }
                subscript = owner && owner->isArray;
            }
            if (subscript || s->isParam) {
                useName(t[q].text, RefKind::Used);
            } else {
                s->inData = true;
                setName(t[q].text);
            }
        }
        if (t[slash].kind == Tok::End) break;
        size_t close = slash + 1;
        while (t[close].kind != Tok::End && !isOp(t[close], "/")) ++close;
        expr(t, slash + 1, close);
        k = t[close].kind == Tok::End ? close : close + 1;
        if (isOp(t[k], ",")) ++k;
    }
}

void Parser::implicitStatement(const Toks& t, size_t i) {
    if (isId(t[i], "NONE")) {
        cur_->implicitNone = true;
        cur_->implicitTypes.assign(26, "NONE");
        portability("IMPLICIT NONE", true);
        return;
    }
    size_t k = i;
    while (t[k].kind != Tok::End) {
        std::string type;
        if (!parseTypeSpec(t, k, type)) {
            diags_.add(3, file_, line_, cur_->name, {});
            return;
        }
        if (!isOp(t[k], "(")) return;
        size_t c = matchParen(t, k);
        for (size_t q = k + 1; q < c; ++q) {
            if (t[q].kind != Tok::Ident) continue;
            char a = t[q].text[0], b = a;
            if (isOp(t[q + 1], "-") && t[q + 2].kind == Tok::Ident) {
                b = t[q + 2].text[0];
                q += 2;
            }
            if (a < 'A' || a > 'Z' || b < 'A' || b > 'Z') continue;
            if (cur_->implicitTypes.empty()) cur_->implicitTypes.resize(26);
            for (char x = a; x <= b; ++x) cur_->implicitTypes[static_cast<size_t>(x - 'A')] = type;
        }
        // symbols seen before the IMPLICIT statement take the new rules
        for (auto& kv : cur_->symbols)
            if (!kv.second.explicitType) kv.second.type = cur_->implicitType(kv.first);
        k = c + 1;
        if (isOp(t[k], ",")) ++k;
    }
}

bool Parser::declaration(const Toks& t, size_t i) {
    if (t[i].kind != Tok::Ident) return false;
    const std::string& w = t[i].text;
    auto nameList = [&](size_t k, auto fn) {
        for (; t[k].kind != Tok::End; ++k) {
            if (isOp(t[k], "(")) {
                k = matchParen(t, k);
                continue;
            }
            if (t[k].kind == Tok::Ident) fn(t[k].text);
        }
    };
    std::string type;
    size_t k = i;
    if (isTypeKeyword(w) && !(w == "TYPE" && !isOp(t[i + 1], "(")) && parseTypeSpec(t, k, type)) {
        if (type.rfind("DOUBLE COMPLEX", 0) == 0 || type == "BYTE" || type.find('*') != std::string::npos)
            if (baseType(type) != "CHARACTER") portability("type size " + type, false);
        typeStatement(t, k, type);
        return true;
    }
    if (w == "TYPE") {  // derived type definition
        inTypeDef_ = true;
        return true;
    }
    if (w == "IMPLICIT") {
        implicitStatement(t, i + 1);
        return true;
    }
    if (w == "DIMENSION") {
        k = i + 1;
        if (isOp(t[k], "::")) ++k;
        while (t[k].kind != Tok::End) {
            if (t[k].kind == Tok::Ident && isOp(t[k + 1], "(")) {
                Symbol& s = cur_->sym(t[k].text, file_, line_);
                s.isArray = true;
                s.dims.clear();
                s.refs.push_back({line_, file_, RefKind::Declared});
                size_t c = matchParen(t, k + 1);
                size_t b = k + 2;
                while (b < c) {
                    size_t e = findTop(t, b, c, ",");
                    s.dims.push_back(joinText(t, b, e));
                    expr(t, b, e);
                    b = e + 1;
                }
                k = c + 1;
            } else {
                ++k;
            }
        }
        return true;
    }
    if (w == "COMMON") {
        commonStatement(t, i + 1);
        return true;
    }
    if (w == "PARAMETER") {
        if (!isOp(t[i + 1], "(")) return false;
        size_t c = matchParen(t, i + 1);
        size_t b = i + 2;
        while (b < c) {
            size_t e = findTop(t, b, c, ",");
            if (t[b].kind == Tok::Ident && isOp(t[b + 1], "=")) {
                expr(t, b + 2, e);
                Symbol& s = cur_->sym(t[b].text, file_, line_);
                s.isParam = true;
                s.paramValue = joinText(t, b + 2, e);
                s.refs.push_back({line_, file_, RefKind::Declared});
                if (!s.declLine) {
                    s.declLine = line_;
                    s.declFile = file_;
                }
            }
            b = e + 1;
        }
        return true;
    }
    if (w == "EXTERNAL" || w == "INTRINSIC") {
        nameList(i + 1, [&](const std::string& n) {
            Symbol& s = cur_->sym(n, file_, line_);
            s.refs.push_back({line_, file_, RefKind::Declared});
            if (w == "EXTERNAL") s.isExternal = s.isProcedure = true;
            else s.isIntrinsic = s.declaredIntrinsic = true;
        });
        return true;
    }
    if (w == "SAVE") {
        for (k = i + 1; t[k].kind != Tok::End; ++k) {
            if (isOp(t[k], "/")) {  // a COMMON block name
                while (t[k + 1].kind != Tok::End && !isOp(t[k + 1], "/")) ++k;
                ++k;
                continue;
            }
            if (t[k].kind == Tok::Ident) {
                Symbol& s = cur_->sym(t[k].text, file_, line_);
                s.isSave = true;
                s.refs.push_back({line_, file_, RefKind::Declared});
            }
        }
        return true;
    }
    if (w == "DATA" && t[i + 1].kind == Tok::Ident) {
        dataStatement(t, i + 1);
        return true;
    }
    if (w == "EQUIVALENCE") {
        for (k = i + 1; t[k].kind != Tok::End; ++k) {
            if (t[k].kind != Tok::Ident) continue;
            Symbol& s = cur_->sym(t[k].text, file_, line_);
            bool sub = false;
            int d = 0;
            for (size_t r = i + 1; r < k; ++r) d += isOp(t[r], "(") ? 1 : isOp(t[r], ")") ? -1 : 0;
            sub = d > 1;  // a name inside a subscript
            if (sub) useName(t[k].text, RefKind::Used);
            else {
                s.inEquiv = true;
                s.refs.push_back({line_, file_, RefKind::Declared});
            }
        }
        return true;
    }
    if (w == "NAMELIST") {
        for (k = i + 1; t[k].kind != Tok::End; ++k) {
            if (isOp(t[k], "/")) {
                k += 2;
                continue;
            }
            if (t[k].kind == Tok::Ident) {
                Symbol& s = cur_->sym(t[k].text, file_, line_);
                s.isNamelist = true;
                s.refs.push_back({line_, file_, RefKind::Declared});
            }
        }
        return true;
    }
    if (w == "USE") {
        size_t m = i + 1;
        if (isOp(t[m], ",")) m += 2;  // USE, INTRINSIC :: name
        if (isOp(t[m], "::")) ++m;
        if (t[m].kind == Tok::Ident) {
            cur_->uses.push_back(t[m].text);
            portability("USE", true);
            // renames "local => remote", with or without ONLY
            for (size_t q = m + 1; t[q].kind != Tok::End; ++q)
                if (t[q].kind == Tok::Ident && isOp(t[q + 1], "=>") && t[q + 2].kind == Tok::Ident)
                    cur_->useRenames[t[q].text] = {t[m].text, t[q + 2].text};
        }
        return true;
    }
    if (w == "OPTIONAL") {
        k = i + 1;
        if (isOp(t[k], "::")) ++k;
        nameList(k, [&](const std::string& n) {
            Symbol& s = cur_->sym(n, file_, line_);
            s.isOptional = true;
            s.refs.push_back({line_, file_, RefKind::Declared});
        });
        return true;
    }
    if (w == "ALLOCATABLE" || w == "POINTER" || w == "TARGET" || w == "INTENT" || w == "OPTIONAL" ||
        w == "PUBLIC" || w == "PRIVATE" || w == "SEQUENCE" || w == "VALUE" || w == "VOLATILE" ||
        w == "PROTECTED" || w == "IMPORT") {
        k = i + 1;
        if (isOp(t[k], "(")) k = matchParen(t, k) + 1;
        if (isOp(t[k], "::")) ++k;
        nameList(k, [&](const std::string& n) {
            Symbol& s = cur_->sym(n, file_, line_);
            s.refs.push_back({line_, file_, RefKind::Declared});
        });
        return true;
    }
    if (w == "INTERFACE") {
        ++interfaceDepth_;
        portability("INTERFACE block", true);
        return true;
    }
    if (w == "FORMAT" && isOp(t[i + 1], "(")) {
        return false;  // handled with the executable statements for its label
    }
    if (w == "MODULE" && isId(t[i + 1], "PROCEDURE")) return true;
    return false;
}

// ---------------------------------------------------------------- executable statements

void Parser::callStatement(const Toks& t, size_t i) {
    if (t[i].kind != Tok::Ident) {
        diags_.add(3, file_, line_, cur_->name, {});
        return;
    }
    CallSite cs;
    cs.callee = t[i].text;
    cs.line = line_;
    cs.file = file_;
    size_t k = i + 1;
    while (isOp(t[k], "%") && t[k + 1].kind == Tok::Ident) {  // type-bound call: not followed
        cs.callee = t[k + 1].text;
        k += 2;
    }
    Symbol& s = cur_->sym(t[i].text, file_, line_);
    s.isProcedure = true;
    s.calledAsSub = true;
    s.explicitType = true;  // a subroutine name needs no type
    s.refs.push_back({line_, file_, RefKind::Called});
    if (isOp(t[k], "(")) callArgs(t, k, matchParen(t, k), cs);
    cur_->calls.push_back(std::move(cs));
}

void Parser::gotoStatement(const Toks& t, size_t i) {
    if (t[i].kind == Tok::Int) {
        labelUse(t[i].text);
        unreachable_ = true;
    } else if (isOp(t[i], "(")) {  // computed GOTO
        size_t c = matchParen(t, i);
        for (size_t q = i + 1; q < c; ++q)
            if (t[q].kind == Tok::Int) labelUse(t[q].text);
        size_t b = c + 1;
        if (isOp(t[b], ",")) ++b;
        expr(t, b, t.size() - 1);
    } else if (t[i].kind == Tok::Ident) {  // assigned GOTO
        useName(t[i].text, RefKind::Used);
        if (isOp(t[i + 1], ",") || isOp(t[i + 1], "(")) {
            for (size_t q = i + 1; t[q].kind != Tok::End; ++q)
                if (t[q].kind == Tok::Int) labelUse(t[q].text);
        }
        unreachable_ = true;
    } else {
        diags_.add(3, file_, line_, cur_->name, {});
    }
}

void Parser::doStatement(const Toks& t, size_t i) {
    std::string label;
    size_t k = i;
    if (t[k].kind == Tok::Int) {
        label = t[k].text;
        label.erase(0, std::min(label.find_first_not_of('0'), label.size() - 1));
        labelUse(label);
        ++k;
        if (isOp(t[k], ",")) ++k;
    }
    blocks_.push_back({"DO", label, line_});
    if (isId(t[k], "WHILE") || (isId(t[k], "CONCURRENT"))) {
        portability("DO WHILE", true);
        expr(t, k + 1, t.size() - 1);
        return;
    }
    if (t[k].kind == Tok::Ident && isOp(t[k + 1], "=")) {
        setName(t[k].text);
        useName(t[k].text, RefKind::Used);  // the loop counts with it
        expr(t, k + 2, t.size() - 1);
        if (label.empty()) portability("DO without label", true);
        return;
    }
    if (t[k].kind != Tok::End) diags_.add(3, file_, line_, cur_->name, {});
}

void Parser::ifStatement(const Toks& t, size_t i, const std::string& label) {
    // i points at "(" after IF
    if (!isOp(t[i], "(")) {
        diags_.add(3, file_, line_, cur_->name, {});
        return;
    }
    size_t c = matchParen(t, i);
    expr(t, i + 1, c);
    size_t k = c + 1;
    if (isId(t[k], "THEN")) {
        blocks_.push_back({"IF", "", line_});
        return;
    }
    if (t[k].kind == Tok::Int) {  // arithmetic IF
        for (size_t q = k; t[q].kind != Tok::End; ++q)
            if (t[q].kind == Tok::Int) labelUse(t[q].text);
        unreachable_ = true;
        return;
    }
    if (t[k].kind == Tok::End) {
        diags_.add(3, file_, line_, cur_->name, {});
        return;
    }
    // logical IF: the dependent statement runs conditionally
    bool before = unreachable_;
    bool beforeReported = reportedUnreachable_;
    reportedUnreachable_ = true;  // the IF itself was already checked
    --cur_->executable;
    dispatch(t, k, "");
    (void)label;
    unreachable_ = before;
    reportedUnreachable_ = beforeReported;
}

void Parser::ioStatement(const Toks& t, size_t i, const std::string& kw) {
    bool input = kw == "READ";
    bool inquire = kw == "INQUIRE";
    size_t k = i;
    size_t listStart = k;
    if (isOp(t[k], "(")) {
        size_t c = matchParen(t, k);
        size_t b = k + 1;
        int pos = 0;
        while (b < c) {
            size_t e = findTop(t, b, c, ",");
            std::string key;
            size_t vb = b;
            if (t[b].kind == Tok::Ident && isOp(t[b + 1], "=")) {
                key = t[b].text;
                vb = b + 2;
            } else {
                key = pos == 0 ? "UNIT" : pos == 1 ? "FMT" : "";
            }
            ++pos;
            if (key == "END" || key == "ERR" || key == "EOR" || ((key == "FMT") && vb + 1 == e && t[vb].kind == Tok::Int)) {
                if (vb < e && t[vb].kind == Tok::Int) labelUse(t[vb].text);
            } else if (key == "IOSTAT" || key == "IOMSG" || key == "SIZE" || key == "NEXTREC" ||
                       (inquire && key != "UNIT" && key != "FILE" && key != "ERR" && key != "ID")) {
                if (vb < e && t[vb].kind == Tok::Ident) designator(t, vb, e, true);
            } else if (key == "FMT" && vb + 1 == e && t[vb].kind == Tok::Ident) {
                const Symbol* s = cur_->find(t[vb].text);
                if (s && s->isNamelist) useName(t[vb].text, RefKind::Used);  // namelist group
                else useName(t[vb].text, RefKind::Used);
            } else if (key == "NML") {
                // namelist group name
            } else if (!(vb + 1 == e && isOp(t[vb], "*"))) {
                expr(t, vb, e);
            }
            b = e + 1;
        }
        listStart = c + 1;
        if (isOp(t[listStart], ",")) ++listStart;
    } else if (kw == "READ" || kw == "PRINT" || kw == "WRITE" || kw == "PUNCH" || kw == "TYPE" || kw == "ACCEPT") {
        // READ fmt, list / PRINT fmt, list
        size_t e = findTop(t, k, t.size() - 1, ",");
        if (k + 1 == e && t[k].kind == Tok::Int) labelUse(t[k].text);
        else if (!(k + 1 == e && isOp(t[k], "*"))) expr(t, k, e);
        listStart = e < t.size() - 1 ? e + 1 : e;
    } else {
        // REWIND 5, BACKSPACE N
        expr(t, k, t.size() - 1);
        return;
    }
    // the I/O list: input items are set, output items used; implied DO
    // variables are set.
    size_t end = t.size() - 1;
    std::function<void(size_t, size_t)> items = [&](size_t b, size_t e) {
        while (b < e) {
            size_t ie = findTop(t, b, e, ",");
            if (isOp(t[b], "(") && matchParen(t, b) + 1 == ie) {
                size_t c = matchParen(t, b);
                // implied DO: (list, I = a, b)
                size_t eq = c;
                for (size_t q = b + 1; q < c; ++q) {
                    if (isOp(t[q], "=") && t[q - 1].kind == Tok::Ident && isOp(t[q - 2], ",") &&
                        findTop(t, b + 1, c, "=") == q) {
                        eq = q;
                        break;
                    }
                }
                if (eq < c) {
                    setName(t[eq - 1].text);
                    useName(t[eq - 1].text, RefKind::Used);
                    expr(t, eq + 1, c);
                    items(b + 1, eq - 2);
                } else {
                    items(b + 1, c);
                }
            } else if (input && t[b].kind == Tok::Ident) {
                size_t after = designator(t, b, ie, true);
                if (after < ie) expr(t, after, ie);
            } else {
                expr(t, b, ie);
            }
            b = ie + 1;
        }
    };
    items(listStart, end);
}

void Parser::executable(const Toks& t, size_t i) {
    const std::string w = t[i].kind == Tok::Ident ? t[i].text : "";
    if (w == "END") {
        const std::string& what = t[i + 1].kind == Tok::Ident ? t[i + 1].text : "";
        if (what.empty() || what == "PROGRAM" || what == "SUBROUTINE" || what == "FUNCTION" || what == "MODULE" ||
            what == "BLOCK") {
            if (what == "MODULE" && cur_->kind != UnitKind::Module) {
                diags_.add(12, file_, line_, cur_->name, {"END MODULE", "MODULE"});
            }
            --cur_->executable;
            closeUnit(line_);
            return;
        }
        unreachable_ = false;
        reportedUnreachable_ = false;
        std::string kind = what == "IF" ? "IF" : what == "DO" ? "DO" : what == "SELECT" ? "SELECT" : what;
        if (kind == "WHERE" || kind == "FORALL" || kind == "ASSOCIATE" || kind == "BLOCK") return;
        if (blocks_.empty() || blocks_.back().kind != kind) {
            diags_.add(12, file_, line_, cur_->name, {"END " + kind, kind});
            return;
        }
        blocks_.pop_back();
        return;
    }
    if (w == "CONTAINS") {
        contains_ = true;
        --cur_->executable;
        portability("CONTAINS", true);
        return;
    }
    if (w == "ENTRY" && t[i + 1].kind == Tok::Ident) {
        cur_->entries.push_back(t[i + 1].text);
        if (isOp(t[i + 2], "(")) {
            size_t c = matchParen(t, i + 2);
            for (size_t q = i + 3; q < c; ++q)
                if (t[q].kind == Tok::Ident) {
                    Symbol& s = cur_->sym(t[q].text, file_, line_);
                    s.isDummy = true;
                }
        }
        unreachable_ = false;
        return;
    }
    if (w == "FORMAT") {
        if (!curLabel_.empty()) cur_->labelIsFormat[curLabel_] = true;
        --cur_->executable;
        return;
    }
    if (w == "CALL") {
        callStatement(t, i + 1);
        return;
    }
    if (w == "IF") {
        ifStatement(t, i + 1, "");
        return;
    }
    if (w == "ELSE") {
        unreachable_ = false;
        reportedUnreachable_ = false;
        if (isId(t[i + 1], "IF")) {
            if (isOp(t[i + 2], "(")) expr(t, i + 3, matchParen(t, i + 2));
        } else if (isId(t[i + 1], "WHERE")) {
            return;
        }
        if (blocks_.empty() || blocks_.back().kind != "IF") diags_.add(12, file_, line_, cur_->name, {"ELSE", "IF"});
        return;
    }
    if (w == "DO") {
        doStatement(t, i + 1);
        return;
    }
    if (w == "GO" && isId(t[i + 1], "TO")) {
        gotoStatement(t, i + 2);
        return;
    }
    if (w == "ASSIGN" && t[i + 1].kind == Tok::Int && isId(t[i + 2], "TO") && t[i + 3].kind == Tok::Ident) {
        labelUse(t[i + 1].text);
        setName(t[i + 3].text);
        return;
    }
    // "ASSIGN10TOI" arrives as one name: not supported, reported below
    if (w == "CONTINUE") return;
    if (w == "RETURN" || w == "STOP" || w == "PAUSE") {
        if (w != "PAUSE") {
            expr(t, i + 1, t.size() - 1);
            unreachable_ = true;
        }
        return;
    }
    if (w == "CYCLE" || w == "EXIT") {
        unreachable_ = true;
        return;
    }
    if (w == "SELECT") {
        size_t k = i + 1;
        if (isId(t[k], "CASE") || isId(t[k], "TYPE")) ++k;
        if (isOp(t[k], "(")) expr(t, k + 1, matchParen(t, k));
        blocks_.push_back({"SELECT", "", line_});
        portability("SELECT CASE", true);
        return;
    }
    if (w == "CASE") {
        unreachable_ = false;
        reportedUnreachable_ = false;
        if (isOp(t[i + 1], "(")) expr(t, i + 2, matchParen(t, i + 1));
        return;
    }
    if (w == "WHERE" || w == "FORALL") {
        if (!isOp(t[i + 1], "(")) {
            diags_.add(3, file_, line_, cur_->name, {});
            return;
        }
        size_t c = matchParen(t, i + 1);
        if (w == "FORALL") {
            // FORALL (I = 1:N) : the index is set
            for (size_t q = i + 2; q < c; ++q)
                if (t[q].kind == Tok::Ident && isOp(t[q + 1], "=")) setName(t[q].text);
        }
        expr(t, i + 2, c);
        if (t[c + 1].kind != Tok::End) dispatch(t, c + 1, "");
        return;
    }
    if (w == "READ" || w == "WRITE" || w == "PRINT" || w == "OPEN" || w == "CLOSE" || w == "INQUIRE" ||
        w == "REWIND" || w == "BACKSPACE" || w == "ENDFILE" || w == "FLUSH" || w == "WAIT" || w == "PUNCH" ||
        w == "ACCEPT") {
        ioStatement(t, i + 1, w);
        return;
    }
    if (w == "ALLOCATE" || w == "DEALLOCATE" || w == "NULLIFY") {
        if (!isOp(t[i + 1], "(")) {
            diags_.add(3, file_, line_, cur_->name, {});
            return;
        }
        size_t c = matchParen(t, i + 1);
        size_t b = i + 2;
        while (b < c) {
            size_t e = findTop(t, b, c, ",");
            if (t[b].kind == Tok::Ident && isOp(t[b + 1], "=")) {  // STAT=
                if (t[b + 2].kind == Tok::Ident) setName(t[b + 2].text);
            } else if (t[b].kind == Tok::Ident) {
                size_t after = designator(t, b, e, true);
                if (after < e) expr(t, after, e);
            }
            b = e + 1;
        }
        return;
    }
    diags_.add(3, file_, line_, cur_->name, {});
}

// ---------------------------------------------------------------- linking

void linkUnits(Program& prog, Diagnostics& diags) {
    // A routine of the program named like an intrinsic of a later standard
    // (SCALE, MERGE) is the routine meant, unless declared INTRINSIC.
    std::set<std::string> userRoutines;
    for (auto& u : prog.units)
        if (u->kind == UnitKind::Function || u->kind == UnitKind::Subroutine) userRoutines.insert(u->name);
    for (auto& u : prog.units)
        for (auto& c : u->calls) {
            if (!c.intrinsic || !userRoutines.count(c.callee)) continue;
            auto it = u->symbols.find(c.callee);
            if (it != u->symbols.end() && it->second.declaredIntrinsic) continue;
            c.intrinsic = false;
            if (it != u->symbols.end()) {
                it->second.isIntrinsic = false;
                it->second.isProcedure = it->second.usedAsFunc = true;
            }
        }
    std::map<std::string, Unit*> modules;
    std::set<std::pair<const Unit*, std::string>> contained;  // (host, internal or module procedure)
    for (auto& u : prog.units) {
        if (u->kind == UnitKind::Module) modules[u->name] = u.get();
        if (u->host) contained.emplace(u->host, u->name);
    }
    for (auto& up : prog.units) {
        Unit& u = *up;
        // USE association, also for units inside a module-using host
        std::vector<std::string> used = u.uses;
        for (Unit* h = u.host; h; h = h->host) used.insert(used.end(), h->uses.begin(), h->uses.end());
        if (u.host && u.host->kind == UnitKind::Module) used.push_back(u.host->name);
        std::set<std::string> seen;
        for (size_t k = 0; k < used.size(); ++k) {
            const std::string m = used[k];
            if (!seen.insert(m).second) continue;
            auto it = modules.find(m);
            if (it == modules.end()) {
                if (std::find(u.uses.begin(), u.uses.end(), m) != u.uses.end())
                    diags.add(20, u.file, u.startLine, u.name, {m});
                continue;
            }
            Unit* mod = it->second;
            for (const auto& mu : mod->uses) used.push_back(mu);  // modules used by the module
            for (auto& kv : u.symbols) {
                Symbol& s = kv.second;
                if (s.explicitType || s.isDummy || s.declLine) continue;
                std::string remote = kv.first;
                auto rn = u.useRenames.find(kv.first);
                if (rn != u.useRenames.end()) {
                    if (rn->second.first != m) continue;
                    remote = rn->second.second;
                }
                const Symbol* ms = mod->find(remote);
                bool modProc = contained.count({mod, remote}) != 0;
                if (ms || modProc) {
                    s.fromModule = true;
                    s.explicitType = true;
                    if (ms) {
                        s.type = ms->type;
                        s.isArray = ms->isArray;
                        s.isParam = ms->isParam;
                    }
                }
            }
        }
        // host association: names the internal unit does not declare itself
        for (Unit* h = u.host; h; h = h->host) {
            for (auto& kv : u.symbols) {
                Symbol& s = kv.second;
                if (s.isDummy || s.declLine || s.fromModule || s.isResult || s.isStmtFunc) continue;
                auto hs = h->symbols.find(kv.first);
                bool hostProc = contained.count({h, kv.first}) != 0;
                if (hs == h->symbols.end() && !hostProc) continue;
                s.fromHost = true;
                if (hs != h->symbols.end()) {
                    Symbol& hsym = hs->second;
                    s.type = hsym.type;
                    s.explicitType = hsym.explicitType || hsym.fromModule;
                    s.isArray = hsym.isArray;
                    hsym.sets += s.sets;
                    hsym.uses += s.uses;
                } else {
                    s.explicitType = true;
                }
            }
        }
    }
}

}  // namespace quarl
