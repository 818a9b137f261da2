// The parser's executable statements.
#include "parser.hpp"
#include "parser_util.hpp"

#include <functional>

namespace quarl {

using namespace parse_util;

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
            // an internal WRITE sets its character variable
            if (key == "UNIT" && kw == "WRITE" && vb < e && t[vb].kind == Tok::Ident) {
                const Symbol* u = lookup(t[vb].text);
                if (u && baseType(u->type) == "CHARACTER") {
                    size_t after = designator(t, vb, e, true);
                    if (after < e) expr(t, after, e);
                    b = e + 1;
                    continue;
                }
            }
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
    // GOTO written as one word after a logical IF (the statement start is
    // split before dispatch, a dependent statement is not)
    if (w == "GOTO") {
        gotoStatement(t, i + 1);
        return;
    }
    if (w.size() > 4 && w.compare(0, 4, "GOTO") == 0 && allDigits(w.substr(4))) {
        labelUse(w.substr(4));
        unreachable_ = true;
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
    if ((w == "TYPE" || w == "CLASS") && (isId(t[i + 1], "IS") || isId(t[i + 1], "DEFAULT"))) {
        unreachable_ = false;  // TYPE IS (...), CLASS IS (...), CLASS DEFAULT
        reportedUnreachable_ = false;
        return;
    }
    if (w == "ASSOCIATE") {
        // ASSOCIATE (a => expr, ...): the names are new, the expressions used
        if (isOp(t[i + 1], "(")) {
            size_t c = matchParen(t, i + 1);
            size_t b = i + 2;
            while (b < c) {
                size_t e = findTop(t, b, c, ",");
                if (t[b].kind == Tok::Ident && isOp(t[b + 1], "=>")) {
                    expr(t, b + 2, e);
                    Symbol& a = cur_->sym(t[b].text, file_, line_);
                    a.explicitType = true;  // an associate name takes the type of its expression
                    std::string ty = exprType(t, b + 2, e);
                    if (!ty.empty()) a.type = ty;
                    setName(t[b].text);
                } else {
                    expr(t, b, e);
                }
                b = e + 1;
            }
        }
        return;
    }
    if (w == "BLOCK" || w == "CRITICAL") return;  // constructs that only group statements
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
        // ALLOCATE (type :: names): the type before "::" is no variable
        size_t colons = findTop(t, b, c, "::");
        if (colons < c) b = colons + 1;
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

}  // namespace quarl
