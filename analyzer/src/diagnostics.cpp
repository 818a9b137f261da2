#include "diagnostics.hpp"

#include <algorithm>

namespace quarl {

void Diagnostics::add(int number, int file, int line, const std::string& unit,
                      const std::vector<std::string>& args) {
    if (!switches_.isEnabled(number)) return;
    const MessageDef* def = findMessage(number);
    if (!def) return;
    Diagnostic d;
    d.number = number;
    d.severity = def->severity;
    d.file = file;
    d.line = line;
    d.unit = unit;
    d.text = formatMessage(*def, args);
    list_.push_back(std::move(d));
}

std::vector<Diagnostic> Diagnostics::sorted() const {
    std::vector<Diagnostic> v = list_;
    std::stable_sort(v.begin(), v.end(), [](const Diagnostic& a, const Diagnostic& b) {
        if (a.file != b.file) return a.file < b.file;
        if (a.line != b.line) return a.line < b.line;
        return a.number < b.number;
    });
    return v;
}

int Diagnostics::count(Severity s) const {
    return static_cast<int>(std::count_if(list_.begin(), list_.end(), [s](const Diagnostic& d) { return d.severity == s; }));
}

std::map<int, int> Diagnostics::countsByNumber() const {
    std::map<int, int> m;
    for (const auto& d : list_) ++m[d.number];
    return m;
}

}  // namespace quarl
