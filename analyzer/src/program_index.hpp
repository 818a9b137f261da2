// Where each routine is defined, and which definition a call reaches.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "symbols.hpp"

namespace quarl {

class ProgramIndex {
public:
    explicit ProgramIndex(const Program& prog);
    // The unit a call from `caller` to `name` reaches: an internal procedure
    // of the caller or its hosts, else the global definition; null if none.
    const Unit* resolve(const Unit& caller, const std::string& name) const;
    const Unit* global(const std::string& name) const;
    // All global definitions of a name (more than one is a fault).
    const std::vector<const Unit*>& definitions(const std::string& name) const;
    // Names defined by ENTRY statements, with their unit.
    const Unit* entry(const std::string& name) const;
    // Roots of the call trees: main programs (or every uncalled unit when
    // there is none).
    std::vector<const Unit*> mainPrograms() const;
    bool isCalled(const Unit& u) const;

private:
    const Program& prog_;
    std::map<std::string, std::vector<const Unit*>> globals_;
    std::map<std::string, const Unit*> entries_;
    std::map<const Unit*, bool> called_;
    std::map<std::pair<const Unit*, std::string>, const Unit*> internal_;
};

}  // namespace quarl
