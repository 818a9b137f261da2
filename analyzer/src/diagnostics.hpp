// Collects the messages of a run, keeping only the switched-on ones.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "catalog.hpp"

namespace quarl {

struct Diagnostic {
    int number = 0;
    Severity severity = Severity::Error;
    int file = -1;  // index into the run's file table; -1 for none
    int line = 0;
    std::string unit;
    std::string text;
};

class Diagnostics {
public:
    explicit Diagnostics(const MessageSwitches& sw) : switches_(sw) {}
    void add(int number, int file, int line, const std::string& unit, const std::vector<std::string>& args);
    const std::vector<Diagnostic>& all() const { return list_; }
    // Ordered by file, line, number, for the report.
    std::vector<Diagnostic> sorted() const;
    int count(Severity s) const;
    std::map<int, int> countsByNumber() const;

private:
    const MessageSwitches& switches_;
    std::vector<Diagnostic> list_;
};

}  // namespace quarl
