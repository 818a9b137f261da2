// The cross-reference: one section per program (a main program and the
// units it reaches), each unit with its symbols, and with -g the routines
// and COMMON blocks with where they are defined and referenced. Layouts:
// abridged (usage kinds only), free form (line numbers), tabular (132 columns).
#include <algorithm>
#include <cctype>
#include <functional>
#include <map>
#include <set>
#include <sstream>

#include "reports.hpp"

namespace quarl {

namespace {

std::string lowerName(std::string s) {
    for (auto& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

class XrefWriter {
public:
    XrefWriter(const RunContext& ctx, std::ostream& o)
        : ctx_(ctx), o_(o), x_(ctx.opt.xrefOpts), width_(x_.tabular ? 132 : static_cast<size_t>(ctx.opt.width)) {}

    void write();

private:
    const RunContext& ctx_;
    std::ostream& o_;
    const XrefOptions& x_;
    size_t width_;

    bool filter(const char* f) const { return std::find(x_.filters.begin(), x_.filters.end(), f) != x_.filters.end(); }
    std::string name(const std::string& n) const { return x_.lower ? lowerName(n) : n; }
    const std::string& path(int f) const { return ctx_.files[static_cast<size_t>(f)].path; }

    // Reference items packed from column `col` on the symbol's line; the
    // items that do not fit there follow one per line, right-aligned at
    // the report width.
    void items(std::string first, const std::vector<std::string>& refs, size_t col) {
        std::string line = pad(first, col);
        bool any = false;
        size_t k = 0;
        for (; k < refs.size(); ++k) {
            size_t need = refs[k].size() + (any ? 1 : 0);
            if (any && line.size() + need > width_) break;
            if (any) line += " ";
            line += refs[k];
            any = true;
        }
        while (!line.empty() && line.back() == ' ') line.pop_back();
        o_ << line << "\n";
        for (; k < refs.size(); ++k) {
            size_t lead = width_ > refs[k].size() ? width_ - refs[k].size() : 1;
            o_ << std::string(lead, ' ') << refs[k] << "\n";
        }
    }

    std::string className(const Symbol& s) const {
        if (s.isStmtFunc) return "stmt func";
        if (s.isIntrinsic) return "intrinsic";
        if (s.isProcedure || s.isExternal) return s.usedAsFunc ? "function" : "subroutine";
        if (s.isParam) return "parameter";
        if (s.isResult) return "result";
        if (s.isDummy) return "argument";
        if (s.inCommon) return "common " + (s.common == "//" ? std::string("//") : "/" + s.common + "/");
        if (s.fromModule) return "module";
        if (s.fromHost) return "host";
        return s.isArray ? "array" : "variable";
    }

    bool shown(const Symbol& s) const {
        if (s.isParam && (filter("no_parameters") || (s.uses == 0 && filter("no_unreferenced_parameters"))))
            return false;
        if (s.inCommon &&
            (filter("no_common_variables") || (s.uses == 0 && s.sets == 0 && filter("no_unused_common_variables"))))
            return false;
        if (s.isIntrinsic && filter("no_intrinsics")) return false;
        bool local = !s.isParam && !s.inCommon && !s.isDummy && !s.isProcedure && !s.isExternal && !s.isIntrinsic;
        if (local && filter("no_locals")) return false;
        if (local && s.uses == 0 && s.sets == 0 && filter("no_unreferenced_variables")) return false;
        return true;
    }

    std::vector<std::string> refs(const Symbol& s, int homeFile) const {
        std::vector<std::string> out;
        if (x_.lineNumbers || x_.tabular) {
            for (const auto& r : s.refs) {
                std::string code = refKindCode(r.kind);
                if (r.kind == RefKind::Called) code = s.usedAsFunc ? "FUN" : "SUB";
                std::string item = std::to_string(r.line) + "-" + code;
                if (r.file != homeFile) item = "(" + ctx_.files[static_cast<size_t>(r.file)].path + ") " + item;
                if (out.empty() || out.back() != item) out.push_back(item);
            }
        } else {
            unsigned kinds = 0;
            for (const auto& r : s.refs) kinds |= 1u << static_cast<unsigned>(r.kind);
            for (RefKind k : {RefKind::Declared, RefKind::Set, RefKind::Used, RefKind::Argument, RefKind::Called})
                if (kinds & (1u << static_cast<unsigned>(k)))
                    out.push_back(k == RefKind::Called ? (s.usedAsFunc ? "FUN" : "SUB") : refKindCode(k));
        }
        return out;
    }

    void unit(const Unit& u) {
        o_ << "  " << unitKindName(u.kind) << " " << name(u.name) << "\n";
        o_ << "    in (" << path(u.file) << ") is " << unitKindName(u.kind) << " " << name(u.name) << ", lines "
           << u.startLine << "-" << u.endLine << "\n\n";
        const size_t nameW = x_.tabular ? 32 : 14, typeW = x_.tabular ? 20 : 17, classW = x_.tabular ? 20 : 14;
        const size_t col = 4 + nameW + typeW + classW;
        o_ << "    " << pad("Name", nameW) << pad("Type", typeW) << pad("Class", classW) << "References\n";
        std::vector<const Symbol*> syms;
        for (const auto& kv : u.symbols)
            if (shown(kv.second)) syms.push_back(&kv.second);
        if (syms.empty()) o_ << "    (no symbols)\n";
        for (const Symbol* s : syms) {
            std::string type = s->calledAsSub ? "" : s->type;
            if (s->isArray) type += "(" + std::to_string(s->dims.size()) + "D)";
            std::string first = "    " + pad(name(s->name), nameW - 1) + " " + pad(type, typeW - 1) + " " +
                                pad(className(*s), classW - 1) + " ";
            items(first, refs(*s, u.file), col);
        }
        o_ << "\n";
    }

    void globals(const std::vector<const Unit*>& units) {
        std::set<const Unit*> in(units.begin(), units.end());
        // routines defined or called in this program
        std::map<std::string, std::vector<std::string>> calls;
        std::map<std::string, bool> asFunc;
        for (const Unit* u : units)
            for (const auto& c : u->calls) {
                if (c.intrinsic) continue;
                std::string item = "(" + name(u->name) + ") " + std::to_string(c.line) + "-" + (c.asFunction ? "FUN" : "SUB");
                calls[c.callee].push_back(item);
                asFunc[c.callee] = c.asFunction;
            }
        if (!filter("no_routines")) {
            o_ << "  Routines:\n";
            std::set<std::string> names;
            for (const Unit* u : units)
                if (u->kind != UnitKind::Program && u->kind != UnitKind::Module) names.insert(u->name);
            for (const auto& kv : calls) names.insert(kv.first);
            std::map<std::string, const Unit*> byName;
            for (const Unit* u : units) byName[u->name] = u;
            for (const auto& n : names) {
                auto found = byName.find(n);
                const Unit* def = found != byName.end() ? found->second : ctx_.index.global(n);
                std::string head = "    " + pad(name(n), 14) + " ";
                const LibraryRoutine* lr = ctx_.library.find(n);
                if (lr && (!def || ctx_.opt.useLbtFirst))
                    o_ << head << pad(unitKindName(lr->kind), 11) << " defined at line " << lr->line << " of "
                       << lr->file << "\n";
                else if (def)
                    o_ << head << pad(unitKindName(def->kind), 11) << " defined at line " << def->startLine << " of "
                       << path(def->file) << "\n";
                else
                    o_ << head << pad(asFunc[n] ? "FUNCTION" : "SUBROUTINE", 11) << " not defined\n";
                auto it = calls.find(n);
                if (it != calls.end()) items(std::string(8, ' ') + "called at", it->second, 20);
                else o_ << "        never called\n";
            }
            o_ << "\n";
        }
        std::map<std::string, std::vector<std::string>> commons;
        std::map<std::string, std::pair<int, int>> firstDef;
        for (const Unit* u : units)
            for (const auto& c : u->commons) {
                std::string b = c.block.empty() ? "//" : "/" + c.block + "/";
                commons[b].push_back("(" + name(u->name) + ") " + std::to_string(c.line) + "-COM");
                firstDef.emplace(b, std::make_pair(c.file, c.line));
            }
        if (!commons.empty() && !filter("no_common_variables")) {
            o_ << "  COMMON blocks:\n";
            for (const auto& kv : commons) {
                const auto& fd = firstDef[kv.first];
                o_ << "    " << pad(name(kv.first), 14) << " defined at line " << fd.second << " of " << path(fd.first)
                   << "\n";
                items(std::string(8, ' ') + "declared in", kv.second, 20);
            }
            o_ << "\n";
        }
    }

    void section(const std::string& title, const std::vector<const Unit*>& units) {
        o_ << "*** Program: " << name(title) << "\n\n";
        std::set<int> files;
        std::vector<int> order;
        for (const Unit* u : units)
            if (files.insert(u->file).second) order.push_back(u->file);
        o_ << "  Source files:\n";
        for (int f : order) {
            const std::string& p = path(f);
            if (6 + 5 + p.size() <= width_) {
                o_ << "    file " << p << "\n";
            } else {
                // a path that does not fit stands alone, right-aligned
                size_t lead = width_ > p.size() + 30 ? width_ - p.size() : 30;
                o_ << "    file\n" << std::string(lead, ' ') << p << "\n";
            }
        }
        o_ << "\n";
        for (const Unit* u : units) unit(*u);
        if (ctx_.opt.globalMode) globals(units);
    }
};

void XrefWriter::write() {
    std::set<const Unit*> placed;
    std::map<std::string, const Unit*> modules;
    for (const auto& up : ctx_.prog.units)
        if (up->kind == UnitKind::Module) modules.emplace(up->name, up.get());
    auto reach = [&](const Unit* root) {
        std::vector<const Unit*> order;
        std::vector<const Unit*> stack = {root};
        std::set<const Unit*> seen;
        while (!stack.empty()) {
            const Unit* u = stack.back();
            stack.pop_back();
            if (!u || !seen.insert(u).second) continue;
            order.push_back(u);
            std::vector<const Unit*> next;
            for (const auto& c : u->calls)
                if (!c.intrinsic)
                    if (const Unit* t = ctx_.index.resolve(*u, c.callee)) next.push_back(t);
            for (auto it = next.rbegin(); it != next.rend(); ++it) stack.push_back(*it);
        }
        return order;
    };
    bool any = false;
    for (const Unit* root : ctx_.index.mainPrograms()) {
        std::vector<const Unit*> units = reach(root);
        // modules used by the program belong to it as well
        std::set<std::string> usedModules;
        for (const Unit* u : units) usedModules.insert(u->uses.begin(), u->uses.end());
        std::set<const Unit*> inProgram(units.begin(), units.end());
        for (const auto& m : usedModules) {
            auto it = modules.find(m);
            if (it != modules.end() && !inProgram.count(it->second)) units.push_back(it->second);
        }
        for (const Unit* u : units) placed.insert(u);
        section(root->name, units);
        any = true;
    }
    std::vector<const Unit*> rest;
    for (const auto& up : ctx_.prog.units)
        if (!placed.count(up.get())) rest.push_back(up.get());
    if (!rest.empty()) {
        section("(units not reached from a main program)", rest);
        any = true;
    }
    if (!any) o_ << "*** Program: (none)\n\nNo program units were found.\n";
}

}  // namespace

void xrefReport(const RunContext& ctx, std::ostream& o) {
    o << reportHeader(ctx, "Cross Reference");
    XrefWriter(ctx, o).write();
}

}  // namespace quarl
