#include "local_checks.hpp"

#include <map>

namespace quarl {

namespace {

bool isLocalVariable(const Symbol& s) {
    // Equivalenced variables are checked too: a use through the other name
    // is not seen, but neither is it by other checkers, and silence would
    // hide real leftovers.
    return !s.isParam && !s.isProcedure && !s.isExternal && !s.isIntrinsic && !s.inCommon && !s.isDummy &&
           !s.isResult && !s.isNamelist && !s.isStmtFunc && !s.isStmtDummy && !s.fromModule && !s.fromHost;
}

void checkUnit(const Unit& u, const Options& opt, Diagnostics& d) {
    const bool module = u.kind == UnitKind::Module;
    // Setting one name of an EQUIVALENCE group sets the storage of all.
    std::map<std::string, int> aliasSets;
    for (const auto& group : u.equivalences) {
        int sets = 0;
        for (const auto& n : group)
            if (const Symbol* s = u.find(n)) sets += s->sets;
        for (const auto& n : group) aliasSets[n] += sets;
    }
    for (const auto& kv : u.symbols) {
        const Symbol* sp = &kv.second;
        Symbol aliased;
        if (sp->inEquiv) {
            auto a = aliasSets.find(sp->name);
            if (a != aliasSets.end() && a->second > sp->sets) {
                aliased = *sp;
                if (aliased.sets == 0) aliased.firstSetLine = aliased.declLine ? aliased.declLine : aliased.firstLine;
                aliased.sets = a->second;
                sp = &aliased;
            }
        }
        const Symbol& s = *sp;
        const int file = s.declLine ? s.declFile : s.firstFile;
        const int line = s.declLine ? s.declLine : s.firstLine;
        if (s.isIntrinsic || s.fromModule || s.fromHost) continue;
        bool needsType = !s.explicitType && !s.calledAsSub && !(s.isExternal && !s.usedAsFunc);
        if (needsType) {
            std::string implicit = u.implicitType(s.name);
            if (implicit.empty()) d.add(18, file, s.firstLine, u.name, {s.name});
            else if (opt.implicitTyping) d.add(111, file, s.firstLine, u.name, {s.name, implicit});
        }
        if (s.name.size() > 6) d.add(261, file, line, u.name, {s.name});
        if (module) continue;  // module variables are there for their users
        if (opt.usage) {
            if (isLocalVariable(s)) {
                if (s.uses == 0 && s.sets == 0) d.add(102, file, line, u.name, {s.name});
                else if (s.uses == 0) d.add(101, s.firstFile, s.firstSetLine, u.name, {s.name});
                else if (s.sets == 0 && !s.inData) d.add(100, s.firstFile, s.firstUseLine, u.name, {s.name});
            } else if (s.isDummy && !s.isProcedure && s.uses == 0 && s.sets == 0) {
                d.add(103, file, line, u.name, {s.name});
            } else if (s.isParam && s.uses == 0) {
                d.add(207, file, line, u.name, {s.name});
            } else if (s.inCommon && s.uses == 0 && s.sets == 0) {
                d.add(176, file, line, u.name, {s.name});
            }
        }
        if (s.isResult && u.kind == UnitKind::Function && s.sets == 0) d.add(112, file, line, u.name, {s.name});
        if (opt.dataFlow && isLocalVariable(s) && s.sets > 0 && s.uses > 0 && !s.inData && !s.isSave &&
            s.firstUseLine < s.firstSetLine)
            d.add(113, s.firstFile, s.firstUseLine, u.name, {s.name});
    }
    for (const auto& kv : u.labelsDefined)
        if (!u.labelsUsed.count(kv.first)) d.add(104, kv.second.first, kv.second.second, u.name, {kv.first});
    for (const auto& kv : u.labelsUsed)
        if (!u.labelsDefined.count(kv.first) && !kv.second.empty())
            d.add(7, kv.second.front().first, kv.second.front().second, u.name, {kv.first});
}

}  // namespace

void runLocalChecks(const Program& prog, const Options& opt, Diagnostics& diags) {
    for (const auto& u : prog.units) checkUnit(*u, opt, diags);
}

}  // namespace quarl
