#include "source_reader.hpp"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <filesystem>

#include "cmdfile.hpp"

namespace fs = std::filesystem;

namespace quarl {

namespace {

constexpr int kMaxIncludeDepth = 32;

std::string lower(std::string s) {
    for (auto& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}
std::string upper(std::string s) {
    for (auto& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}
bool blankLine(const std::string& s) {
    return s.find_first_not_of(" \t\r\f\v") == std::string::npos;
}
std::string trim(const std::string& s) {
    size_t b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos) return "";
    size_t e = s.find_last_not_of(" \t\r");
    return s.substr(b, e - b + 1);
}

// Removes a trailing "!" comment, honouring character constants; the quote
// state carries over continuation lines.
std::string stripComment(std::string s, char& quote) {
    for (size_t i = 0; i < s.size(); ++i) {
        char c = s[i];
        if (quote) {
            if (c == quote) quote = 0;
        } else if (c == '\'' || c == '"') {
            quote = c;
        } else if (c == '!') {
            s.resize(i);
            return s;
        }
    }
    return s;
}

// The quoted file name of an INCLUDE line, or "" when the line is no INCLUDE.
std::string includeName(const std::string& code) {
    std::string t = trim(code);
    if (t.size() < 9 || upper(t.substr(0, 7)) != "INCLUDE") return "";
    size_t p = 7;
    while (p < t.size() && (t[p] == ' ' || t[p] == '\t')) ++p;
    if (p >= t.size() || (t[p] != '\'' && t[p] != '"')) return "";
    char q = t[p];
    size_t e = t.find(q, p + 1);
    if (e == std::string::npos || e == p + 1) return "";
    std::string rest = trim(t.substr(e + 1));
    if (!rest.empty() && rest[0] != '!') return "";
    return t.substr(p + 1, e - p - 1);
}

bool directiveSentinel(const std::string& text, const char* word) {
    if (text.size() < 5) return false;
    char c = text[0];
    if (c != 'C' && c != 'c' && c != '*' && c != '!') return false;
    return upper(text.substr(1, 4)) == word;
}

}  // namespace

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    lines.reserve(static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
    size_t b = 0;
    while (b < text.size()) {
        size_t e = text.find('\n', b);
        size_t end = e == std::string::npos ? text.size() : e;
        size_t len = end - b;
        if (len > 0 && text[end - 1] == '\r') --len;
        lines.emplace_back(text, b, len);
        std::replace(lines.back().begin(), lines.back().end(), '\0', ' ');
        if (e == std::string::npos) break;
        b = e + 1;
    }
    return lines;
}

bool SourceReader::detectFree(const std::string& path, const std::vector<std::string>& lines, SourceForm forced,
                              bool parentFree, bool isInclude) {
    if (forced == SourceForm::Free) return true;
    if (forced == SourceForm::Fixed) return false;
    std::string ext = lower(fs::path(path).extension().string());
    if (ext == ".f90" || ext == ".f95" || ext == ".f03" || ext == ".f08") return true;
    if (ext == ".f" || ext == ".for" || ext == ".ftn" || ext == ".f77" || ext == ".fpp") return false;
    if (isInclude) return parentFree;
    // By content: a statement starting in the label field, or "&" at the
    // end of a line, is free form.
    for (const auto& l : lines) {
        if (blankLine(l)) continue;
        char c = l[0];
        if (c == 'C' || c == 'c' || c == '*' || c == '!' || c == '#' || c == 'D' || c == 'd') continue;
        size_t nb = l.find_first_not_of(' ');
        if (nb != std::string::npos && nb < 5 && l[nb] != '\t' && !std::isdigit(static_cast<unsigned char>(l[nb])))
            return true;
        size_t last = l.find_last_not_of(" \t\r");
        if (last != std::string::npos && l[last] == '&' && l.find('!') == std::string::npos) return true;
    }
    return false;
}

int SourceReader::fileIndex(const std::string& path, bool isInclude) {
    std::error_code ec;
    std::string key = fs::weakly_canonical(fs::path(path), ec).string();
    if (ec || key.empty()) key = path;
    auto it = index_.find(key);
    if (it != index_.end()) return it->second;
    SourceFile f;
    f.path = path;
    f.isInclude = isInclude;
    files_.push_back(std::move(f));
    int idx = static_cast<int>(files_.size()) - 1;
    index_[key] = idx;
    return idx;
}

std::string SourceReader::resolveInclude(const std::string& given, int fromFile) const {
    std::string name = given;
    if (opt_.ignoreLogicals) {
        // VMS logical names: "SYS$LIB:NAME.INC" -> "NAME.INC"
        size_t colon = name.rfind(':');
        if (colon != std::string::npos && colon != 1) name = name.substr(colon + 1);
    }
    if (opt_.ignorePaths) {
        size_t sep = name.find_last_of("/\\]");
        if (sep != std::string::npos) name = name.substr(sep + 1);
    }
    if (name.empty()) return "";
    std::vector<std::string> candidates = {name};
    if (lower(name) != name) candidates.push_back(lower(name));
    if (upper(name) != name) candidates.push_back(upper(name));
    auto regular = [](const fs::path& p) {
        std::error_code ec;
        return fs::is_regular_file(p, ec);
    };
    if (fs::path(name).is_absolute()) return regular(name) ? name : "";
    std::vector<fs::path> dirs;
    dirs.push_back(fs::path(files_[fromFile].path).parent_path());
    for (const auto& d : opt_.includeDirs) dirs.emplace_back(d);
    for (const auto& d : dirs)
        for (const auto& c : candidates) {
            fs::path p = d.empty() ? fs::path(c) : d / c;
            if (regular(p)) return p.string();
        }
    return "";
}

void SourceReader::includeInto(const std::string& name, int fromFile, int line, const LineSink& sink) {
    std::string path = resolveInclude(name, fromFile);
    if (path.empty()) {
        diags_.add(2, fromFile, line, "", {name});
        return;
    }
    int idx = fileIndex(path, true);
    if (std::find(stack_.begin(), stack_.end(), idx) != stack_.end() ||
        static_cast<int>(stack_.size()) >= kMaxIncludeDepth) {
        diags_.add(11, fromFile, line, "", {name});
        return;
    }
    auto& inc = files_[fromFile].includes;
    if (std::find(inc.begin(), inc.end(), idx) == inc.end()) inc.push_back(idx);
    expandFile(idx, files_[fromFile].free, sink);
}

void SourceReader::expandFile(int file, bool parentFree, const LineSink& sink) {
    std::string text, why;
    if (!readRegularFile(files_[file].path, text, why)) {
        if (!files_[file].isInclude) diags_.add(1, file, 0, "", {files_[file].path + " (" + why + ")"});
        else diags_.add(2, file, 0, "", {files_[file].path + " (" + why + ")"});
        return;
    }
    files_[file].readOk = true;
    std::vector<std::string> raw = splitLines(text);
    std::string().swap(text);  // release the file's text now
    bool free = detectFree(files_[file].path, raw, opt_.form, parentFree, files_[file].isInclude);
    files_[file].free = free;
    const bool repeat = files_[file].expansions++ > 0;
    if (files_[file].lineSeen.size() < raw.size()) files_[file].lineSeen.resize(raw.size(), 0);
    stack_.push_back(file);

    // Fortran INCLUDE lines are replaced by the included file's lines.
    auto handle = [&](SourceLine&& sl) {
        if (!sl.inactive && sl.file == file) {
            const std::string& t = sl.text;
            size_t from = 0;
            if (!sl.free) {
                bool comment = !t.empty() && (t[0] == 'C' || t[0] == 'c' || t[0] == '*' || t[0] == '!');
                from = comment || t.size() <= 6 || t.find_first_not_of(' ') < 6 ? std::string::npos : 6;
            }
            size_t nb = from == std::string::npos ? from : t.find_first_not_of(" \t", from);
            if (nb != std::string::npos && (t[nb] == 'I' || t[nb] == 'i')) {
                std::string name = includeName(t.substr(nb));
                if (!name.empty()) {
                    int lineNo = sl.line;
                    sl.inactive = true;  // counted as a comment-like line of the includer
                    sink(std::move(sl));
                    includeInto(name, file, lineNo, sink);
                    return;
                }
            }
        }
        sink(std::move(sl));
    };
    if (opt_.preprocess) {
        // lines of #include'd files go into the same list, in place
        std::vector<SourceLine> lines;
        lines.reserve(raw.size());
        if (!pp_) {
            pp_ = std::make_unique<Preprocessor>(
                diags_, [this](const std::string& n, int from, int l, std::vector<SourceLine>& o) {
                    includeInto(n, from, l, [&o](SourceLine&& x) { o.push_back(std::move(x)); });
                });
            for (const auto& d : opt_.defines) pp_->define(d.first, d.second);
            for (const auto& u : opt_.undefines) pp_->undefine(u);
        }
        pp_->process(raw, file, free, lines);
        std::vector<std::string>().swap(raw);
        for (auto& l : lines) {
            if (l.file == file) l.repeat = repeat;
            handle(std::move(l));
        }
    } else {
        // each line goes on as soon as it is made
        for (size_t i = 0; i < raw.size(); ++i) {
            SourceLine sl;
            sl.text = std::move(raw[i]);
            sl.file = file;
            sl.line = static_cast<int>(i) + 1;
            sl.free = free;
            sl.repeat = repeat;
            handle(std::move(sl));
        }
    }
    stack_.pop_back();
}

int SourceReader::fileFor(const std::string& path) {
    int idx = fileIndex(path, false);
    files_[static_cast<size_t>(idx)].isInclude = false;
    return idx;
}

bool SourceReader::load(const std::string& path, const StatementSink& sink) {
    auto t0 = std::chrono::steady_clock::now();
    int idx = fileFor(path);
    pp_.reset();  // each top-level file starts from the -D and -U switches
    // Lines pass to the statement assembly in batches, so that neither the
    // lines nor the statements of a whole file are held at once.
    constexpr size_t kBatch = 1024;
    std::vector<SourceLine> batch;
    batch.reserve(kBatch);
    Assembly st;
    expandFile(idx, false, [&](SourceLine&& l) {
        batch.push_back(std::move(l));
        if (batch.size() >= kBatch) {
            assemble(batch, st, sink, false);
            batch.clear();
        }
    });
    assemble(batch, st, sink, true);
    files_[idx].seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    return files_[idx].readOk;
}

bool SourceReader::load(const std::string& path, std::vector<Statement>& out) {
    return load(path, [&out](Statement&& s) { out.push_back(std::move(s)); });
}

void SourceReader::assemble(const std::vector<SourceLine>& lines, Assembly& state, const StatementSink& sink,
                            bool last) {
    Statement& cur = state.cur;
    bool& open = state.open;
    bool& freeCont = state.freeCont;
    char& quote = state.quote;

    auto count = [&](const SourceLine& sl, int kind) {  // 0 blank, 1 comment, 2 code
        SourceFile& f = files_[sl.file];
        size_t i = static_cast<size_t>(sl.line - 1);
        if (i >= f.lineSeen.size() || f.lineSeen[i]) return;
        f.lineSeen[i] = 1;
        ++f.lines;
        if (kind == 0) ++f.blank;
        else if (kind == 1) ++f.comments;
        else ++f.code;
    };
    auto emit = [&](std::string text, bool first) {
        std::string t = trim(text);
        if (t.empty() && !(first && !cur.label.empty())) return false;
        Statement s;
        s.file = cur.file;
        s.line = cur.line;
        s.lastLine = cur.lastLine;
        s.directive = cur.directive;
        if (first) s.label = cur.label;
        s.text = std::move(t);
        s.repeat = cur.repeat;
        if (!s.repeat) ++files_[s.file].statements;
        sink(std::move(s));
        return true;
    };
    auto flush = [&]() {
        if (!open) return;
        open = false;
        if (quote) diags_.add(6, cur.file, cur.line, "", {});
        quote = 0;
        if (cur.text.find(';') == std::string::npos) {
            emit(std::move(cur.text), true);
            return;
        }
        // ";" separates statements outside character constants.
        std::string piece;
        char q = 0;
        bool first = true;
        for (char c : cur.text) {
            if (q) {
                if (c == q) q = 0;
            } else if (c == '\'' || c == '"') {
                q = c;
            } else if (c == ';') {
                if (emit(std::move(piece), first)) first = false;
                piece.clear();
                continue;
            }
            piece += c;
        }
        emit(std::move(piece), first);
    };
    auto start = [&](const SourceLine& sl, std::string label, std::string body, bool directive) {
        flush();
        cur.file = sl.file;
        cur.line = sl.line;
        cur.lastLine = sl.line;
        cur.label = trim(label);
        cur.text = std::move(body);
        cur.directive = directive;
        cur.repeat = sl.repeat;
        open = true;
    };

    for (const SourceLine& sl : lines) {
        if (sl.inactive) {
            count(sl, 1);
            continue;
        }
        const std::string& t = sl.text;
        if (blankLine(t)) {
            count(sl, 0);
            continue;
        }
        const int limit = sl.free ? 132 : (opt_.cols132 ? 132 : 72);
        if (t.find('\t') != std::string::npos) diags_.add(76, sl.file, sl.line, "", {});

        if (sl.free) {
            std::string tt = trim(t);
            if (opt_.hpf && upper(tt.substr(0, 5)) == "!HPF$") {
                count(sl, 2);
                start(sl, "", tt.substr(5), true);
                flush();
                continue;
            }
            if (upper(tt.substr(0, 5)) == "!$OMP" && !opt_.openmpFile.empty() && !warnedOpenmp_) {
                warnedOpenmp_ = true;
                diags_.add(118, sl.file, sl.line, "", {});
            }
            if (static_cast<int>(t.size()) > limit && !blankLine(t.substr(static_cast<size_t>(limit))))
                diags_.add(106, sl.file, sl.line, "", {std::to_string(limit)});
            char q = freeCont ? quote : 0;
            std::string code = stripComment(t, q);
            std::string ct = trim(code);
            if (ct.empty()) {
                count(sl, 1);
                continue;
            }
            count(sl, 2);
            for (auto& c : ct)
                if (c == '\t') c = ' ';
            bool contNext = !ct.empty() && ct.back() == '&';
            if (contNext) ct.pop_back();
            if (freeCont && open) {
                if (!ct.empty() && ct[0] == '&') ct.erase(0, 1);
                cur.text += ct;
                cur.lastLine = sl.line;
                quote = q;
            } else {
                size_t p = 0;
                while (p < ct.size() && std::isdigit(static_cast<unsigned char>(ct[p]))) ++p;
                std::string label = p > 0 && p <= 5 && (p == ct.size() || ct[p] == ' ') ? ct.substr(0, p) : "";
                start(sl, label, label.empty() ? ct : ct.substr(p), false);
                quote = q;
            }
            freeCont = contNext;
            if (!freeCont) flush();
            continue;
        }

        // Fixed form.
        char c0 = t[0];
        if (directiveSentinel(t, "HPF$")) {
            if (opt_.hpf) {
                count(sl, 2);
                start(sl, "", t.substr(5), true);
                flush();
            } else {
                count(sl, 1);
            }
            continue;
        }
        if (directiveSentinel(t, "$OMP") && !opt_.openmpFile.empty() && !warnedOpenmp_) {
            warnedOpenmp_ = true;
            diags_.add(118, sl.file, sl.line, "", {});
        }
        if (c0 == 'C' || c0 == 'c' || c0 == '*' || c0 == '!') {
            count(sl, 1);
            continue;
        }
        if (c0 == '#') {
            diags_.add(114, sl.file, sl.line, "", {trim(t)});
            count(sl, 1);
            continue;
        }
        const bool debugCode = c0 == 'D' || c0 == 'd';
        if (debugCode && !opt_.debugLines) {
            diags_.add(201, sl.file, sl.line, "", {});
            count(sl, 1);
            continue;
        }
        const std::string& line = t;  // column 1 of a debug line counts as blank below
        size_t nb = line.find_first_not_of(' ', debugCode ? 1 : 0);
        if (nb != std::string::npos && line[nb] == '!' && nb != 5) {
            count(sl, 1);
            continue;
        }
        std::string label, body;
        bool cont = false;
        size_t tab = line.find('\t');
        if (tab != std::string::npos && tab < 6) {
            label = line.substr(0, tab);
            size_t b = tab + 1;
            if (b < line.size() && line[b] >= '1' && line[b] <= '9') {
                cont = true;
                ++b;
            }
            body = line.substr(std::min(b, line.size()));
        } else {
            label = line.substr(0, std::min<size_t>(5, line.size()));
            char c6 = line.size() > 5 ? line[5] : ' ';
            cont = c6 != ' ' && c6 != '0';
            // columns 7 up to the limit are code
            size_t bodyLimit = static_cast<size_t>(limit - 6);
            if (line.size() > 6) body.assign(line, 6, bodyLimit);
        }
        if (debugCode && !label.empty()) label[0] = ' ';
        if (static_cast<int>(line.size()) > limit &&
            line.find_first_not_of(" \t\r\f\v", static_cast<size_t>(limit)) != std::string::npos) {
            diags_.add(106, sl.file, sl.line, "", {std::to_string(limit)});
        }
        for (auto& c : body)
            if (c == '\t') c = ' ';
        char q = cont && open ? quote : 0;
        std::string code = stripComment(std::move(body), q);
        if (cont && open) {
            count(sl, 2);
            cur.text += code;
            cur.lastLine = sl.line;
            quote = q;
            continue;
        }
        if (blankLine(code) && trim(label).empty()) {
            count(sl, 1);
            continue;
        }
        count(sl, 2);
        start(sl, std::move(label), std::move(code), false);
        quote = q;
    }
    if (last) flush();
}

}  // namespace quarl
