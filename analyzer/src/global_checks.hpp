// Checks across units (-g): undefined and uncalled routines, argument
// count and type agreement, subroutine/function use, COMMON agreement.
#pragma once
#include "diagnostics.hpp"
#include "library.hpp"
#include "options.hpp"
#include "program_index.hpp"
#include "symbols.hpp"

namespace quarl {

void runGlobalChecks(const Program& prog, const ProgramIndex& index, const Library& library, const Options& opt,
                     const std::vector<std::string>& filePaths, Diagnostics& diags);

// Number of elements of an array from its bounds, using the unit's integer
// PARAMETERs; 0 when it cannot be known.
long long elementCount(const Unit& u, const Symbol& s);

}  // namespace quarl
