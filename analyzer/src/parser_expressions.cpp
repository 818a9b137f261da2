// The parser's expression scan: uses, calls, actual arguments and their types.
#include "parser.hpp"
#include "parser_util.hpp"

namespace quarl {

using namespace parse_util;

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
        if (k + 1 < e && isOp(t[k + 1], "=") && k > b && (isOp(t[k - 1], ",") || isOp(t[k - 1], "("))) {
            // inside an array constructor or a bare parenthesis: an implied-DO
            // variable; inside a call's argument list: a keyword argument
            int depth = 0;
            size_t open = k;
            while (open > 0) {
                --open;
                if (isOp(t[open], ")") || isOp(t[open], "]")) ++depth;
                else if (isOp(t[open], "(") || isOp(t[open], "[")) {
                    if (depth == 0) break;
                    --depth;
                }
            }
            bool callArgs = isOp(t[open], "(") && open > 0 && t[open - 1].kind == Tok::Ident;
            if (!callArgs) {
                setName(tk.text);
                useName(tk.text, RefKind::Used);
            }
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
            Symbol& sy = cur_->sym(n, file_, line_);
            sy.isIntrinsic = true;
            sy.refs.push_back({line_, file_, RefKind::Called});
            functionCall(t, k + 1, close, n, true);
            if (opt_.ansiMaxloc && (n == "MAXLOC" || n == "MINLOC")) maxlocCall_ = true;
        } else {
            // an external (or dummy) function reference
            Symbol& sy = cur_->sym(n, file_, line_);
            sy.isProcedure = true;
            sy.usedAsFunc = true;
            sy.refs.push_back({line_, file_, RefKind::Called});
            functionCall(t, k + 1, close, n, false);
        }
        k = close + 1;
    }
}

// Records the reference of function N with the arguments between OPEN and
// CLOSE as a call of this unit; the call is listed before the calls in its
// arguments.
void Parser::functionCall(const Toks& t, size_t open, size_t close, const std::string& n, bool intrinsic) {
    CallSite cs;
    cs.callee = n;
    cs.asFunction = true;
    cs.intrinsic = intrinsic;
    cs.line = line_;
    cs.file = file_;
    const size_t slot = cur_->calls.size();
    cur_->calls.push_back(cs);
    callArgs(t, open, close, cs);
    cur_->calls[slot].args = std::move(cs.args);
}

}  // namespace quarl
