#include "report_common.hpp"


namespace quarl {

const char* const kVersion = "2.04";

std::string bannerLine(const std::string& date, const std::string& title) {
    return std::string("QuarlCheck rev. ") + kVersion + "   " + date + "   " + title;
}

std::vector<std::string> wrapWords(const std::vector<std::string>& words, size_t width, size_t indent) {
    std::vector<std::string> lines;
    std::string cur;
    const std::string lead(indent, ' ');
    for (const auto& w : words) {
        if (!cur.empty() && cur.size() + 1 + w.size() > width) {
            lines.push_back(cur);
            cur.clear();
        }
        if (cur.empty()) cur = lead + w;
        else cur += " " + w;
    }
    if (!cur.empty()) lines.push_back(cur);
    return lines;
}

std::string reportHeader(const RunContext& ctx, const std::string& title) {
    const size_t width = static_cast<size_t>(ctx.opt.width);
    std::string out = bannerLine(ctx.date, title) + "\n\nDefault options:\n";
    for (const auto& l : wrapWords(defaultSwitches(), width, 4)) out += l + "\n";
    out += "Command options:\n";
    if (ctx.opt.switchesGiven.empty()) out += "    (none)\n";
    for (const auto& l : wrapWords(ctx.opt.switchesGiven, width, 4)) out += l + "\n";
    out += "\n";
    return out;
}

std::string pad(const std::string& s, size_t n) { return s.size() >= n ? s : s + std::string(n - s.size(), ' '); }
std::string padLeft(const std::string& s, size_t n) { return s.size() >= n ? s : std::string(n - s.size(), ' ') + s; }

}  // namespace quarl
