// The statistics report: lines and statements per file and in total,
// units, calls, messages by severity and number, time, include dependencies.
#include <cstdio>
#include <functional>
#include <set>
#include <sstream>

#include "reports.hpp"

namespace quarl {

void statisticsReport(const RunContext& ctx, std::ostream& o) {
    o << reportHeader(ctx, "Statistics");
    o << "Source statistics:\n\n";
    o << "   Lines    Code Comment   Blank   Stmts   Units   Calls  File\n";
    struct Tot {
        long lines = 0, code = 0, comments = 0, blank = 0, stmts = 0, units = 0, calls = 0;
    } tot;
    auto row = [&](const Tot& t, const std::string& name) {
        o << padLeft(std::to_string(t.lines), 8) << padLeft(std::to_string(t.code), 8)
          << padLeft(std::to_string(t.comments), 8) << padLeft(std::to_string(t.blank), 8)
          << padLeft(std::to_string(t.stmts), 8) << padLeft(std::to_string(t.units), 8)
          << padLeft(std::to_string(t.calls), 8) << "  " << name << "\n";
    };
    std::vector<long> unitsIn(ctx.files.size(), 0), callsIn(ctx.files.size(), 0);
    for (const auto& u : ctx.prog.units) {
        if (u->file < 0 || static_cast<size_t>(u->file) >= ctx.files.size()) continue;
        ++unitsIn[static_cast<size_t>(u->file)];
        for (const auto& c : u->calls) callsIn[static_cast<size_t>(u->file)] += c.intrinsic ? 0 : 1;
    }
    for (size_t f = 0; f < ctx.files.size(); ++f) {
        const SourceFile& sf = ctx.files[f];
        Tot t;
        t.lines = sf.lines;
        t.code = sf.code;
        t.comments = sf.comments;
        t.blank = sf.blank;
        t.stmts = sf.statements;
        t.units = unitsIn[f];
        t.calls = callsIn[f];
        row(t, sf.path + (sf.isInclude ? " (include)" : ""));
        tot.lines += t.lines;
        tot.code += t.code;
        tot.comments += t.comments;
        tot.blank += t.blank;
        tot.stmts += t.stmts;
        tot.units += t.units;
        tot.calls += t.calls;
    }
    row(tot, "Total (" + std::to_string(ctx.files.size()) + " files)");

    int kinds[5] = {0, 0, 0, 0, 0};
    std::set<std::string> callees;
    long intrinsicCalls = 0;
    for (const auto& u : ctx.prog.units) {
        ++kinds[static_cast<int>(u->kind)];
        for (const auto& c : u->calls) {
            if (c.intrinsic) ++intrinsicCalls;
            else callees.insert(c.callee);
        }
    }
    o << "\nProgram units: " << ctx.prog.units.size() << " (" << kinds[0] << " programs, " << kinds[1]
      << " subroutines, " << kinds[2] << " functions, " << kinds[3] << " block data, " << kinds[4] << " modules)\n";
    o << "Calls: " << tot.calls << " to " << callees.size() << " routines, and " << intrinsicCalls
      << " intrinsic function references\n";

    o << "\nMessages by severity:\n";
    o << "    errors   " << padLeft(std::to_string(ctx.diags.count(Severity::Error)), 6) << "\n";
    o << "    warnings " << padLeft(std::to_string(ctx.diags.count(Severity::Warning)), 6) << "\n";
    o << "    FYIs     " << padLeft(std::to_string(ctx.diags.count(Severity::Fyi)), 6) << "\n";
    o << "\nMessages by number:\n";
    auto counts = ctx.diags.countsByNumber();
    if (counts.empty()) o << "    none\n";
    for (const auto& kv : counts) {
        const MessageDef* def = findMessage(kv.first);
        o << padLeft(std::to_string(kv.first), 7) << " " << pad(def ? severityName(def->severity) : "?", 8)
          << padLeft(std::to_string(kv.second), 6) << "\n";
    }
    if (ctx.opt.depend) {
        o << "\nInclude dependencies:\n";
        for (int f : ctx.topFiles) {
            const SourceFile& sf = ctx.files[static_cast<size_t>(f)];
            o << "    " << sf.path << "\n";
            if (sf.includes.empty()) o << "        (none)\n";
            std::set<int> shown;
            std::function<void(int, int)> walk = [&](int idx, int depth) {
                for (int inc : ctx.files[static_cast<size_t>(idx)].includes) {
                    o << std::string(static_cast<size_t>(8 + 4 * depth), ' ') << ctx.files[static_cast<size_t>(inc)].path
                      << "\n";
                    if (shown.insert(inc).second && depth < 32) walk(inc, depth + 1);
                }
            };
            walk(f, 0);
        }
    }
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.3f", ctx.seconds);
    o << "\nTime taken: " << buf << " seconds\n";
}

}  // namespace quarl
