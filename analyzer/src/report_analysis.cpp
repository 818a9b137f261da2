// The analysis report: the messages by file and line, optionally with the
// source listing, and a summary.
#include <map>
#include <sstream>

#include "cmdfile.hpp"
#include "reports.hpp"

namespace quarl {

namespace {

std::string messageLine(const RunContext& ctx, const Diagnostic& d) {
    std::ostringstream o;
    if (d.file >= 0 && d.file < static_cast<int>(ctx.files.size())) {
        o << ctx.files[static_cast<size_t>(d.file)].path;
        if (d.line > 0) o << "(" << d.line << ")";
        o << ": ";
    }
    o << severityName(d.severity) << " " << d.number << ": " << d.text;
    if (!d.unit.empty()) o << " [in " << d.unit << "]";
    return o.str();
}

}  // namespace

void analysisReport(const RunContext& ctx, std::ostream& o) {
    o << reportHeader(ctx, "Analysis Report");
    const Options& opt = ctx.opt;
    o << "Language: "
      << (opt.language == 77 ? "Fortran 77" : opt.language == 90 ? "Fortran 90/95" : "automatic (Fortran 77 to 95)")
      << "; dialect: " << (opt.dialect.empty() ? "automatic" : opt.dialect) << "; source form: "
      << (opt.form == SourceForm::Free ? "free" : opt.form == SourceForm::Fixed ? "fixed" : "by file")
      << (opt.cols132 ? ", 132 columns" : "") << "\n";
    if (!opt.targets.empty()) {
        o << "Portability targets:";
        for (const auto& t : opt.targets) o << " " << t;
        o << "\n";
    }
    o << "\nFiles analyzed:\n";
    for (int f : ctx.topFiles) {
        const SourceFile& sf = ctx.files[static_cast<size_t>(f)];
        o << "    " << sf.path << (sf.readOk ? (sf.free ? "  (free form)" : "  (fixed form)") : "  (not read)") << "\n";
    }
    o << "\n";
    std::vector<Diagnostic> diags = ctx.diags.sorted();
    if (ctx.opt.listing) {
        // Source listing of each analyzed file, each message after its line.
        std::map<std::pair<int, int>, std::vector<const Diagnostic*>> at;
        for (const auto& d : diags) at[{d.file, d.line}].push_back(&d);
        for (int f : ctx.topFiles) {
            const SourceFile& sf = ctx.files[static_cast<size_t>(f)];
            std::string text, why;
            if (!readRegularFile(sf.path, text, why)) continue;
            o << "Source listing of " << sf.path << ":\n\n";
            std::vector<std::string> lines = splitLines(text);
            for (size_t i = 0; i < lines.size(); ++i) {
                o << padLeft(std::to_string(i + 1), 6) << "  " << lines[i] << "\n";
                auto it = at.find({f, static_cast<int>(i + 1)});
                if (it != at.end())
                    for (const Diagnostic* d : it->second)
                        o << "        *** " << severityName(d->severity) << " " << d->number << ": " << d->text << "\n";
            }
            o << "\n";
        }
    }
    o << "Messages:\n";
    if (diags.empty()) o << "    none\n";
    int lastFile = -2;
    for (const auto& d : diags) {
        if (d.file != lastFile) {
            o << "\n";
            lastFile = d.file;
        }
        o << messageLine(ctx, d) << "\n";
    }
    o << "\n";
    for (const auto& u : ctx.opt.unknown) o << "Unknown switch ignored: " << u << "\n";
    for (const auto& n : ctx.opt.notes) o << "Note: " << n << "\n";
    o << "Summary: " << ctx.diags.count(Severity::Error) << " errors, " << ctx.diags.count(Severity::Warning)
      << " warnings, " << ctx.diags.count(Severity::Fyi) << " FYIs\n";
}

}  // namespace quarl
