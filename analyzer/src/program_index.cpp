#include "program_index.hpp"

namespace quarl {

ProgramIndex::ProgramIndex(const Program& prog) : prog_(prog) {
    for (const auto& u : prog.units)
        if (u->host) internal_.emplace(std::make_pair(u->host, u->name), u.get());
    for (const auto& u : prog.units) {
        if (u->kind == UnitKind::Module) continue;
        if (u->host && u->host->kind != UnitKind::Module) continue;  // internal procedures are local
        globals_[u->name].push_back(u.get());
        for (const auto& e : u->entries) entries_.emplace(e, u.get());
    }
    for (const auto& u : prog.units) {
        for (const auto& c : u->calls) {
            if (c.intrinsic) continue;
            if (const Unit* t = resolve(*u, c.callee)) called_[t] = true;
            // a generic call may reach any of its specific procedures
            auto g = prog.generics.find(c.callee);
            if (g != prog.generics.end())
                for (const auto& specific : g->second)
                    if (const Unit* t = resolve(*u, specific)) called_[t] = true;
        }
        // a routine named in EXTERNAL and passed on counts as used
        for (const auto& kv : u->symbols)
            if (kv.second.isExternal && kv.second.uses > 0)
                if (const Unit* t = global(kv.first)) called_[t] = true;
    }
}

const Unit* ProgramIndex::resolve(const Unit& caller, const std::string& name) const {
    for (const Unit* h = &caller; h; h = h->host) {
        auto it = internal_.find(std::make_pair(h, name));
        if (it != internal_.end()) return it->second;
    }
    // a unit calling itself by its own name (recursion) resolves globally
    const Unit* g = global(name);
    if (g) return g;
    if (const Unit* e = entry(name)) return e;
    // a generic name: its first specific procedure stands for it
    auto gen = prog_.generics.find(name);
    if (gen != prog_.generics.end() && !gen->second.empty() && gen->second.front() != name)
        return resolve(caller, gen->second.front());
    return nullptr;
}

const Unit* ProgramIndex::global(const std::string& name) const {
    auto it = globals_.find(name);
    return it == globals_.end() || it->second.empty() ? nullptr : it->second.front();
}

const std::vector<const Unit*>& ProgramIndex::definitions(const std::string& name) const {
    static const std::vector<const Unit*> none;
    auto it = globals_.find(name);
    return it == globals_.end() ? none : it->second;
}

const Unit* ProgramIndex::entry(const std::string& name) const {
    auto it = entries_.find(name);
    return it == entries_.end() ? nullptr : it->second;
}

bool ProgramIndex::isCalled(const Unit& u) const { return called_.count(&u) != 0; }

std::vector<const Unit*> ProgramIndex::mainPrograms() const {
    std::vector<const Unit*> roots;
    for (const auto& u : prog_.units)
        if (u->kind == UnitKind::Program) roots.push_back(u.get());
    if (roots.empty())
        for (const auto& u : prog_.units)
            if (!u->host && u->kind != UnitKind::Module && u->kind != UnitKind::BlockData && !isCalled(*u))
                roots.push_back(u.get());
    return roots;
}

}  // namespace quarl
