// The parser's declaration statements.
#include "parser.hpp"
#include "parser_util.hpp"

namespace quarl {

using namespace parse_util;

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
        if (isOp(t[k], "(")) k = arrayBounds(t, k, s);
        if (isOp(t[k], "*")) {  // per-entity length: CHARACTER A*10
            std::string base = baseType(type);
            if (t[k + 1].kind == Tok::Int) {
                s.type = base + "*" + t[k + 1].text;
                k += 2;
            } else if (isOp(t[k + 1], "(")) {
                size_t c = matchParen(t, k + 1);
                s.type = base + "*(" + joinText(t, k + 2, c) + ")";
                expr(t, k + 2, c);
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
            if (isOp(t[k], "(")) k = arrayBounds(t, k, s);
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
        // names in a length or kind: CHARACTER*(LEN), REAL(KIND=DP)
        if (w != "DOUBLE" && w != "TYPE" && w != "CLASS") expr(t, i + 1, k);
        typeStatement(t, k, type);
        return true;
    }
    if ((w == "TYPE" || w == "CLASS") && (isId(t[i + 1], "IS") || isId(t[i + 1], "DEFAULT"))) {
        return false;  // a guard of SELECT TYPE, an executable statement
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
                s.refs.push_back({line_, file_, RefKind::Declared});
                k = arrayBounds(t, k + 1, s);
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
        // each parenthesized list is one group of names sharing storage
        int d = 0;
        for (k = i + 1; t[k].kind != Tok::End; ++k) {
            if (isOp(t[k], "(")) {
                if (++d == 1) cur_->equivalences.emplace_back();
                continue;
            }
            if (isOp(t[k], ")")) {
                --d;
                continue;
            }
            if (t[k].kind != Tok::Ident) continue;
            if (d > 1) {  // a name inside a subscript
                useName(t[k].text, RefKind::Used);
                continue;
            }
            Symbol& s = cur_->sym(t[k].text, file_, line_);
            s.inEquiv = true;
            s.refs.push_back({line_, file_, RefKind::Declared});
            if (d == 1 && !cur_->equivalences.empty()) cur_->equivalences.back().push_back(t[k].text);
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
    if (w == "PUBLIC" || w == "PRIVATE" || w == "SEQUENCE" || w == "IMPORT") {
        return true;  // they name things declared elsewhere (types, procedures, generics)
    }
    if (w == "ALLOCATABLE" || w == "POINTER" || w == "TARGET" || w == "INTENT" || w == "OPTIONAL" ||
        w == "VALUE" || w == "VOLATILE" || w == "PROTECTED") {
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
        // a named interface is generic: its specific procedures follow
        genericName_ = t[i + 1].kind == Tok::Ident && t[i + 2].kind == Tok::End ? t[i + 1].text : "";
        if (!genericName_.empty()) prog_.generics[genericName_];
        return true;
    }
    if (w == "FORMAT" && isOp(t[i + 1], "(")) {
        return false;  // handled with the executable statements for its label
    }
    if (w == "MODULE" && isId(t[i + 1], "PROCEDURE")) return true;
    return false;
}

// The bounds in the parentheses at OPEN make S an array of that shape; the
// bound expressions count as uses. Returns the index after the ")".
size_t Parser::arrayBounds(const Toks& t, size_t open, Symbol& s) {
    const size_t close = matchParen(t, open);
    s.isArray = true;
    s.dims.clear();
    size_t b = open + 1;
    while (b < close) {
        const size_t e = findTop(t, b, close, ",");
        s.dims.push_back(joinText(t, b, e));
        expr(t, b, e);
        b = e + 1;
    }
    return close + 1;
}

}  // namespace quarl
