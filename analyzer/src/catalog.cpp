#include "catalog.hpp"

#include <algorithm>

namespace quarl {

const char* severityName(Severity s) {
    switch (s) {
        case Severity::Error: return "error";
        case Severity::Warning: return "warning";
        case Severity::Fyi: return "FYI";
    }
    return "?";
}

const std::vector<MessageDef>& catalog() {
    static const std::vector<MessageDef> defs = {
        {1, Severity::Error, "cannot read source file %s"},
        {2, Severity::Error, "cannot find include file %s"},
        {3, Severity::Error, "unrecognized statement"},
        {4, Severity::Error, "unbalanced parentheses"},
        {5, Severity::Error, "program unit %s has no END statement"},
        {6, Severity::Error, "unterminated character constant"},
        {7, Severity::Error, "label %s is referenced but not defined"},
        {8, Severity::Error, "label %s is defined more than once"},
        {9, Severity::Error, "preprocessor: %s"},
        {10, Severity::Error, "%s is declared more than once"},
        {11, Severity::Error, "include file %s includes itself"},
        {12, Severity::Error, "%s without matching %s"},
        {13, Severity::Error, "routine %s is defined more than once (also at line %s of %s)"},
        {14, Severity::Error, "%s is a function but is called as a subroutine"},
        {15, Severity::Error, "%s is a subroutine but is used as a function"},
        {16, Severity::Error, "call to %s passes %s arguments, but it takes %s"},
        {17, Severity::Error, "argument %s of %s is %s, but the dummy argument %s is %s"},
        {18, Severity::Error, "%s has no type and IMPLICIT NONE is in effect"},
        {19, Severity::Error, "statement is out of place: %s"},
        {20, Severity::Error, "module %s is not defined in the analyzed files"},
        {21, Severity::Error, "parentheses nested more than %s deep; statement not analyzed"},
        {22, Severity::Error, "function %s returns %s but is used here as %s"},
        {76, Severity::Fyi, "tab character in source line"},
        {100, Severity::Warning, "variable %s is used but never set"},
        {101, Severity::Warning, "variable %s is set but never used"},
        {102, Severity::Warning, "variable %s is declared but never used"},
        {103, Severity::Warning, "dummy argument %s is never used"},
        {104, Severity::Warning, "label %s is defined but never used"},
        {105, Severity::Warning, "statement cannot be reached"},
        {106, Severity::Warning, "line is longer than %s columns"},
        {107, Severity::Warning, "%s %s is called but never defined"},
        {108, Severity::Warning, "%s %s is never called"},
        {109, Severity::Warning, "COMMON /%s/ is %s bytes long here but %s bytes in %s"},
        {110, Severity::Warning, "COMMON /%s/ differs from its layout in %s: %s"},
        {111, Severity::Warning, "%s is implicitly typed %s"},
        {112, Severity::Warning, "function %s is never given a value"},
        {113, Severity::Warning, "variable %s may be used before it is set"},
        {114, Severity::Warning, "preprocessor directive ignored (preprocessing is off): %s"},
        {115, Severity::Warning, "MAXLOC/MINLOC result assigned to scalar %s (ANSI rules give an array)"},
        {116, Severity::Warning, "unknown directive %s"},
        {117, Severity::Warning, "non-standard feature for %s: %s"},
        {118, Severity::Warning, "OpenMP directives are not supported; ignored"},
        {176, Severity::Warning, "COMMON variable %s is never used in this unit"},
        {201, Severity::Fyi, "debug line treated as comment"},
        {202, Severity::Fyi, "HPF directive: %s"},
        {203, Severity::Fyi, "Fortran 90 feature in Fortran 77 source: %s"},
        {207, Severity::Fyi, "PARAMETER %s is never used"},
        {261, Severity::Fyi, "name %s is longer than six characters"},
    };
    return defs;
}

const MessageDef* findMessage(int number) {
    const auto& defs = catalog();
    auto it = std::lower_bound(defs.begin(), defs.end(), number,
                               [](const MessageDef& d, int n) { return d.number < n; });
    if (it != defs.end() && it->number == number) return &*it;
    return nullptr;
}

void MessageSwitches::disableAll() {
    for (const auto& d : catalog()) overrides_[d.number] = false;
}

void MessageSwitches::enableAll() {
    for (const auto& d : catalog()) overrides_[d.number] = true;
}

bool MessageSwitches::isEnabled(int number) const {
    auto it = overrides_.find(number);
    if (it != overrides_.end()) return it->second;
    const MessageDef* def = findMessage(number);
    if (!def) return false;
    switch (def->severity) {
        case Severity::Error: return true;
        case Severity::Warning: return warnings;
        case Severity::Fyi: return fyis;
    }
    return false;
}

std::string formatMessage(const MessageDef& def, const std::vector<std::string>& args) {
    std::string out;
    size_t next = 0;
    for (const char* p = def.text; *p; ++p) {
        if (p[0] == '%' && p[1] == 's') {
            out += next < args.size() ? args[next] : std::string("?");
            ++next;
            ++p;
        } else {
            out += *p;
        }
    }
    return out;
}

}  // namespace quarl
