#include "driver.hpp"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>

#include "cmdfile.hpp"
#include "global_checks.hpp"
#include "local_checks.hpp"
#include "parser.hpp"
#include "reports.hpp"

namespace fs = std::filesystem;

namespace quarl {

namespace {

std::string nowText() {
    std::time_t t = std::time(nullptr);
    char buf[64];
    std::tm tmv{};
    if (const std::tm* p = std::localtime(&t)) tmv = *p;
    std::strftime(buf, sizeof buf, "%a %b %d %H:%M:%S %Y", &tmv);
    return buf;
}

bool baseWritable(const std::string& base, std::string& why) {
    fs::path dir = fs::path(base).parent_path();
    std::error_code ec;
    if (!dir.empty() && !fs::is_directory(dir, ec)) {
        why = "report directory " + dir.string() + " does not exist";
        return false;
    }
    std::string probe = base + ".probe";
    {
        std::ofstream f(probe, std::ios::app);
        if (!f) {
            why = "report directory " + (dir.empty() ? std::string(".") : dir.string()) + " is not writable";
            return false;
        }
    }
    fs::remove(probe, ec);
    return true;
}

}  // namespace

int run(const std::vector<std::string>& args, std::ostream& stdoutStream) {
    const auto t0 = std::chrono::steady_clock::now();
    Options opt;
    parseArguments(args, opt);
    if (opt.help) {
        stdoutStream << helpText();
        return 0;
    }
    if (opt.version) {
        stdoutStream << "QuarlCheck rev. " << kVersion << "\n";
        return 0;
    }
    if (opt.listMessages) {
        for (const auto& d : catalog())
            stdoutStream << d.number << "\t" << severityName(d.severity) << "\t" << d.text << "\n";
        return 0;
    }

    std::unique_ptr<std::ofstream> outFile;
    std::ostream* con = &stdoutStream;
    if (!opt.outFile.empty()) {
        outFile = std::make_unique<std::ofstream>(opt.outFile, std::ios::trunc);
        if (!*outFile) {
            stdoutStream << "quarl (fatal): cannot write output file " << opt.outFile << "\n";
            return 2;
        }
        con = outFile.get();
    }
    std::ostream& out = *con;
    const std::string date = nowText();
    out << bannerLine(date, "Console") << "\n";

    if (!opt.cmdFile.empty()) {
        std::string text, why;
        if (!readRegularFile(opt.cmdFile, text, why)) {
            out << "quarl (fatal): cannot read command file " << opt.cmdFile << ": " << why << "\n";
            return 2;
        }
        std::string outBefore = opt.outFile;
        parseArguments(parseCommandText(text), opt);
        opt.outFile = outBefore;  // the console is already open
    }
    for (const auto& u : opt.unknown) out << "quarl: unknown or malformed switch ignored: " << u << "\n";
    for (const auto& n : opt.notes) out << "quarl: note: " << n << "\n";
    if (opt.files.empty()) {
        out << "quarl (fatal): no source files given\n";
        return 2;
    }
    if (opt.reportBase.empty()) opt.reportBase = "quarl";
    std::string why;
    if (!baseWritable(opt.reportBase, why)) {
        out << "quarl (fatal): " << why << "\n";
        return 2;
    }

    Diagnostics diags(opt.messages);
    std::vector<SourceFile> files;
    Program prog;
    SourceReader reader(opt, diags, files);
    Parser parser(opt, diags, prog);
    std::vector<int> topFiles;
    for (auto& f : opt.files) {
        // reports name files by their full paths
        std::error_code ec;
        fs::path abs = fs::absolute(fs::path(f), ec);
        if (!ec) f = abs.lexically_normal().string();
    }
    for (const auto& f : opt.files) {
        int idx = reader.fileFor(f);
        if (std::find(topFiles.begin(), topFiles.end(), idx) != topFiles.end()) {
            // the same file twice would define all its routines twice
            out << "quarl: note: " << f << " is named more than once; analyzed once\n";
            continue;
        }
        topFiles.push_back(idx);
        parser.begin(idx);
        reader.load(f, [&parser](Statement&& st) { parser.statement(st); });
        parser.end();
    }
    linkUnits(prog, diags);
    ProgramIndex index(prog);
    // library descriptions: in the include directories and the installation
    Library library;
    {
        std::vector<std::string> dirs = opt.includeDirs;
        if (const char* home = std::getenv("QUARLHOME")) dirs.emplace_back(home);
        std::vector<std::string> problems;
        library.load(dirs, problems);
        for (const auto& p : problems) opt.notes.push_back("library description " + p);
        if (opt.useLbtFirst && library.empty())
            opt.notes.push_back("-Muselbt: no library description (.lbt) files were found");
        for (const auto& p : problems) out << "quarl: note: library description " << p << "\n";
    }
    runLocalChecks(prog, opt, diags);
    std::vector<std::string> paths;
    for (const auto& f : files) paths.push_back(f.path);
    if (opt.globalMode) runGlobalChecks(prog, index, library, opt, paths, diags);

    RunContext ctx{opt, files, prog, index, diags, library, date, 0, topFiles};
    ctx.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();

    struct Report {
        const char* ext;
        bool on;
        void (*write)(const RunContext&, std::ostream&);
    };
    const Report reports[] = {{"lnt", true, analysisReport},
                              {"stt", opt.statistics, statisticsReport},
                              {"tre", opt.callTree, callTreeReport},
                              {"xrf", opt.xref, xrefReport}};
    std::vector<std::string> written;
    for (const auto& r : reports) {
        std::string path = opt.reportBase + "." + r.ext;
        std::error_code ec;
        if (!r.on) {
            fs::remove(path, ec);  // a stale report of a kind switched off must not be shown
            continue;
        }
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        if (file) r.write(ctx, file);
        if (file) file.close();
        if (!file) {
            // a run with a report missing must not pass for a complete one
            out << "quarl (fatal): cannot write report " << path << "\n";
            fs::remove(path, ec);
            for (const auto& w : written) fs::remove(w, ec);
            return 2;
        }
        written.push_back(path);
    }
    long lines = 0;
    for (const auto& f : files) lines += f.lines;
    out << "quarl: analyzed " << topFiles.size() << " files (" << files.size() << " with includes), " << lines
        << " lines, " << prog.units.size() << " program units\n";
    out << "quarl: " << diags.count(Severity::Error) << " errors, " << diags.count(Severity::Warning) << " warnings, "
        << diags.count(Severity::Fyi) << " FYIs\n";
    for (const auto& w : written) out << "quarl: wrote " << w << "\n";
    out.flush();
    return 0;
}

}  // namespace quarl
