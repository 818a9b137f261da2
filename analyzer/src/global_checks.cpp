#include "global_checks.hpp"

#include <algorithm>
#include <cctype>
#include <set>

namespace quarl {

namespace {

bool integerText(const std::string& s, long long& v) {
    if (s.empty() || s.size() > 12) return false;
    size_t i = (s[0] == '-' || s[0] == '+') ? 1 : 0;
    if (i == s.size()) return false;
    for (size_t k = i; k < s.size(); ++k)
        if (!std::isdigit(static_cast<unsigned char>(s[k]))) return false;
    v = std::stoll(s);
    return true;
}

bool boundValue(const Unit& u, const std::string& text, long long& v) {
    if (integerText(text, v)) return true;
    const Symbol* p = u.find(text);
    if (p && p->isParam) return integerText(p->paramValue, v);
    return false;
}

struct Run {
    std::string type;
    int size;
    long long count;
};

// COMMON layout as runs of equal element types; false when unknown.
bool layout(const Unit& u, const CommonDecl& c, bool twoByte, std::vector<Run>& runs, long long& bytes) {
    bytes = 0;
    for (const auto& m : c.members) {
        const Symbol* s = u.find(m);
        if (!s) return false;
        int size = typeSize(s->type, twoByte);
        long long n = s->isArray ? elementCount(u, *s) : 1;
        if (size <= 0 || n <= 0) return false;
        bytes += size * n;
        std::string bt = baseType(s->type);
        if (!runs.empty() && runs.back().type == bt && runs.back().size == size) runs.back().count += n;
        else runs.push_back({bt, size, n});
    }
    return true;
}

std::string describe(const Run& r) {
    return std::to_string(r.count) + " x " + r.type + "*" + std::to_string(r.size);
}

}  // namespace

long long elementCount(const Unit& u, const Symbol& s) {
    long long total = 1;
    for (const auto& d : s.dims) {
        size_t colon = d.find(':');
        long long lo = 1, hi = 0;
        if (colon == std::string::npos) {
            if (!boundValue(u, d, hi)) return 0;
        } else {
            if (!boundValue(u, d.substr(0, colon), lo) || !boundValue(u, d.substr(colon + 1), hi)) return 0;
        }
        long long n = hi - lo + 1;
        if (n <= 0 || n > 1000000000LL) return 0;
        total *= n;
        if (total > 1000000000000LL) return 0;
    }
    return total;
}

void runGlobalChecks(const Program& prog, const ProgramIndex& index, const Library& library, const Options& opt,
                     const std::vector<std::string>& paths, Diagnostics& d) {
    auto pathOf = [&](int f) { return f >= 0 && f < static_cast<int>(paths.size()) ? paths[f] : std::string("?"); };
    // routines defined twice
    std::set<std::string> names;
    for (const auto& u : prog.units) names.insert(u->name);
    for (const auto& n : names) {
        const auto& defs = index.definitions(n);
        for (size_t k = 1; k < defs.size(); ++k)
            d.add(13, defs[k]->file, defs[k]->startLine, defs[k]->name,
                  {n, std::to_string(defs[0]->startLine), pathOf(defs[0]->file)});
    }
    // calls
    for (const auto& up : prog.units) {
        const Unit& u = *up;
        std::set<std::string> reportedUndefined;
        for (const auto& c : u.calls) {
            if (c.intrinsic) continue;
            const Symbol* local = u.find(c.callee);
            if (local && (local->isDummy || local->isStmtFunc)) continue;
            if (local && local->fromHost) {
                bool dummyInHost = false;
                for (const Unit* h = u.host; h; h = h->host)
                    if (const Symbol* hs = h->find(c.callee)) dummyInHost = dummyInHost || hs->isDummy;
                if (dummyInHost) continue;
            }
            if (prog.generics.count(c.callee)) continue;  // the specific procedure is chosen by the arguments
            const Unit* def = index.resolve(u, c.callee);
            const char* what = c.asFunction ? "function" : "subroutine";
            bool keywordArgs = std::any_of(c.args.begin(), c.args.end(), [](const ActualArg& a) {
                return a.text.find('=') != std::string::npos && a.text.find("==") == std::string::npos;
            });
            // a library description stands for routines not in the sources,
            // and with -Muselbt for those in the sources as well
            if (const LibraryRoutine* lr = library.find(c.callee); lr && (!def || opt.useLbtFirst)) {
                if (!c.asFunction && lr->kind == UnitKind::Function) d.add(14, c.file, c.line, u.name, {c.callee});
                else if (c.asFunction && lr->kind == UnitKind::Subroutine) d.add(15, c.file, c.line, u.name, {c.callee});
                else if (!keywordArgs && static_cast<int>(c.args.size()) != lr->nargs)
                    d.add(16, c.file, c.line, u.name,
                          {c.callee, std::to_string(c.args.size()), std::to_string(lr->nargs)});
                continue;
            }
            if (!def) {
                if (prog.interfaces.count(c.callee)) continue;  // declared by an interface only
                if (local && local->fromModule) continue;
                if (reportedUndefined.insert(c.callee).second) d.add(107, c.file, c.line, u.name, {what, c.callee});
                continue;
            }
            if (index.entry(c.callee) && def->name != c.callee) continue;  // ENTRY: arguments not known
            if (!c.asFunction && def->kind == UnitKind::Function) {
                d.add(14, c.file, c.line, u.name, {c.callee});
                continue;
            }
            if (c.asFunction && def->kind == UnitKind::Subroutine) {
                d.add(15, c.file, c.line, u.name, {c.callee});
                continue;
            }
            if (def->kind != UnitKind::Subroutine && def->kind != UnitKind::Function) continue;
            if (c.asFunction && local && !local->isDummy) {
                // the type the caller gives the function against its own
                const Symbol* result = nullptr;
                for (const auto& kv : def->symbols)
                    if (kv.second.isResult && (!result || kv.second.explicitType)) result = &kv.second;
                std::string mine = baseType(local->type), theirs = result ? baseType(result->type) : "";
                if (!mine.empty() && !theirs.empty() && mine != theirs)
                    d.add(22, c.file, c.line, u.name, {c.callee, theirs, mine});
            }
            bool keywords = std::any_of(c.args.begin(), c.args.end(),
                                        [](const ActualArg& a) { return a.text.find('=') != std::string::npos &&
                                                                        a.text.find("==") == std::string::npos; });
            if (keywords) continue;
            size_t required = 0;
            for (const auto& dn : def->dummies) {
                const Symbol* ds = def->find(dn);
                if (!(ds && ds->isOptional)) ++required;
            }
            if (c.args.size() > def->dummies.size() || c.args.size() < required) {
                d.add(16, c.file, c.line, u.name,
                      {c.callee, std::to_string(c.args.size()), std::to_string(def->dummies.size())});
                continue;
            }
            for (size_t k = 0; k < c.args.size(); ++k) {
                const std::string& dn = def->dummies[k];
                std::string dt;
                if (dn == "*") dt = "LABEL";
                else if (const Symbol* ds = def->find(dn)) {
                    if (ds->isProcedure || ds->isExternal) dt = "PROCEDURE";
                    else dt = baseType(ds->type);
                }
                const std::string& at = c.args[k].type;
                if (at.empty() || dt.empty()) continue;
                if (at == "PROCEDURE" || dt == "PROCEDURE") {
                    // a name not known as a procedure at the call may still be one
                    if (at == "PROCEDURE" && dt != "PROCEDURE")
                        d.add(17, c.file, c.line, u.name, {std::to_string(k + 1), c.callee, "a procedure", dn, dt});
                    continue;
                }
                if (at != dt)
                    d.add(17, c.file, c.line, u.name, {std::to_string(k + 1), c.callee, at, dn, dt});
            }
        }
    }
    // routines never called
    std::set<std::string> calledNames;
    for (const auto& up : prog.units)
        for (const auto& c : up->calls) calledNames.insert(c.callee);
    for (const auto& up : prog.units) {
        const Unit& u = *up;
        if (u.kind != UnitKind::Subroutine && u.kind != UnitKind::Function) continue;
        if (u.host && u.host->kind != UnitKind::Module) {
            // internal procedures: called from their host
            if (!index.isCalled(u)) d.add(108, u.file, u.startLine, u.name, {unitKindName(u.kind), u.name});
            continue;
        }
        if (!index.isCalled(u)) {
            bool viaEntry = false;
            for (const auto& e : u.entries) viaEntry = viaEntry || calledNames.count(e);
            if (!viaEntry) d.add(108, u.file, u.startLine, u.name, {unitKindName(u.kind), u.name});
        }
    }
    // module entities that neither the module nor any user references
    for (const auto& up : prog.units) {
        if (up->kind != UnitKind::Module || !opt.usage) continue;
        for (const auto& kv : up->symbols) {
            const Symbol& s = kv.second;
            if (s.isProcedure || s.isExternal || s.isIntrinsic || s.isResult || !s.declLine) continue;
            if (s.uses > 0 || prog.moduleUses.count({up->name, kv.first})) continue;
            if (s.isParam) d.add(207, s.declFile, s.declLine, up->name, {s.name});
            else if (!s.inCommon && s.sets <= (s.inData ? 1 : 0)) d.add(102, s.declFile, s.declLine, up->name, {s.name});
        }
    }
    // COMMON blocks agree in length and layout
    struct Ref {
        const Unit* unit;
        const CommonDecl* decl;
        std::vector<Run> runs;
        long long bytes;
    };
    std::map<std::string, Ref> first;
    for (const auto& up : prog.units) {
        for (const auto& c : up->commons) {
            std::vector<Run> runs;
            long long bytes = 0;
            if (!layout(*up, c, opt.twoByteInts, runs, bytes)) continue;
            std::string name = c.block.empty() ? "" : c.block;
            auto it = first.find(name);
            if (it == first.end()) {
                first.emplace(name, Ref{up.get(), &c, runs, bytes});
                continue;
            }
            const Ref& r = it->second;
            if (bytes != r.bytes && !name.empty()) {
                d.add(109, c.file, c.line, up->name, {name, std::to_string(bytes), std::to_string(r.bytes), r.unit->name});
            } else if (bytes == r.bytes) {
                size_t k = 0;
                while (k < runs.size() && k < r.runs.size() && runs[k].type == r.runs[k].type &&
                       runs[k].size == r.runs[k].size && runs[k].count == r.runs[k].count)
                    ++k;
                if (k < runs.size() || k < r.runs.size()) {
                    std::string here = k < runs.size() ? describe(runs[k]) : "nothing";
                    std::string there = k < r.runs.size() ? describe(r.runs[k]) : "nothing";
                    d.add(110, c.file, c.line, up->name,
                          {name.empty() ? std::string("") : name, r.unit->name, here + " where it has " + there});
                }
            }
        }
    }
}

}  // namespace quarl
