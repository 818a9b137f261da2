// Resolution after all files are parsed: USE association and host association.
#include <map>
#include <set>

#include "parser.hpp"

namespace quarl {

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
        // a generic interface name carries the types of its specific procedures
        for (auto& kv : u.symbols)
            if (!kv.second.explicitType && prog.generics.count(kv.first)) kv.second.explicitType = true;
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
                    if (s.uses > 0 || s.sets > 0) prog.moduleUses.emplace(m, remote);
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
