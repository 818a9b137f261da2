// The call tree: from each main program (or each -Thead root) down through
// the routines it calls.
#include <algorithm>
#include <set>
#include <sstream>

#include "reports.hpp"

namespace quarl {

namespace {

constexpr size_t kMaxTreeLines = 200000;  // an untrimmed tree can grow exponentially
constexpr int kMaxDepth = 500;            // the writer recurses once per level

struct Child {
    std::string name;
    const Unit* unit;  // null: intrinsic, library or undefined
    bool intrinsic;
    bool library;
};

class TreeWriter {
public:
    TreeWriter(const RunContext& ctx, std::ostream& o) : ctx_(ctx), o_(o) {}

    void root(const Unit* u, const std::string& name) {
        std::vector<const Unit*> path;
        node(u, name, false, false, 0, path);
    }
    bool truncated() const { return truncated_; }

private:
    const RunContext& ctx_;
    std::ostream& o_;
    std::set<const Unit*> expanded_;
    size_t lines_ = 0;
    bool truncated_ = false;

    std::vector<Child> children(const Unit* u) const {
        std::vector<Child> out;
        if (!u) return out;
        const TreeOptions& t = ctx_.opt.tree;
        std::set<std::string> seen;
        for (const auto& c : u->calls) {
            const Symbol* s = u->find(c.callee);
            if (s && (s->isDummy || s->isStmtFunc)) continue;
            const Unit* target = c.intrinsic ? nullptr : ctx_.index.resolve(*u, c.callee);
            bool library = false;
            if (!c.intrinsic && ctx_.library.find(c.callee) && (!target || ctx_.opt.useLbtFirst)) {
                library = true;
                target = nullptr;
            }
            if ((c.intrinsic || library) && t.noLibrary) continue;
            if (!c.intrinsic && !library && !target && t.noUndefined) continue;
            if (t.condensed && !seen.insert(c.callee).second) continue;
            out.push_back({c.callee, target, c.intrinsic, library});
        }
        if (t.alphabetic)
            std::stable_sort(out.begin(), out.end(), [](const Child& a, const Child& b) { return a.name < b.name; });
        return out;
    }

    void node(const Unit* u, const std::string& name, bool intrinsic, bool library, int depth,
              std::vector<const Unit*>& path) {
        if (truncated_) return;
        if (++lines_ > kMaxTreeLines) {
            truncated_ = true;
            return;
        }
        const TreeOptions& t = ctx_.opt.tree;
        std::string indent(static_cast<size_t>(depth) * (t.squish ? 2 : 4), ' ');
        std::string label = name;
        if (intrinsic) label += " (intrinsic)";
        else if (library) label += " (library)";
        else if (!u) label += " (undefined)";
        bool recursive = u && std::find(path.begin(), path.end(), u) != path.end();
        std::vector<Child> kids = children(u);
        if (recursive) {
            o_ << indent << label << " (recursive)\n";
            return;
        }
        if (depth >= kMaxDepth && !kids.empty()) {
            o_ << indent << label << " (calls deeper than " << kMaxDepth << " levels not shown)\n";
            return;
        }
        if (u && t.trim && !kids.empty() && expanded_.count(u)) {
            o_ << indent << label << " (see above)\n";
            return;
        }
        o_ << indent << label << "\n";
        if (!u) return;
        expanded_.insert(u);
        path.push_back(u);
        for (const auto& k : kids) node(k.unit, k.name, k.intrinsic, k.library, depth + 1, path);
        path.pop_back();
    }
};

}  // namespace

void callTreeReport(const RunContext& ctx, std::ostream& o) {
    o << reportHeader(ctx, "Call Tree");
    TreeWriter w(ctx, o);
    std::vector<std::pair<const Unit*, std::string>> roots;
    if (!ctx.opt.tree.heads.empty()) {
        for (const auto& h : ctx.opt.tree.heads) {
            const Unit* u = ctx.index.global(h);
            if (!u)
                for (const auto& up : ctx.prog.units)
                    if (up->name == h) u = up.get();
            roots.push_back({u, h});
        }
    } else {
        for (const Unit* u : ctx.index.mainPrograms()) roots.push_back({u, u->name});
    }
    if (roots.empty()) o << "No program units to show.\n";
    bool firstRoot = true;
    for (const auto& r : roots) {
        if (!firstRoot && !ctx.opt.tree.squish) o << "\n";
        firstRoot = false;
        if (!r.first) {
            o << r.second << ": not defined in the analyzed files\n";
            continue;
        }
        w.root(r.first, r.second);
    }
    if (w.truncated())
        o << "\n*** Call tree cut off after " << kMaxTreeLines << " lines; the -Ttrim switch keeps it short.\n";
}

}  // namespace quarl
