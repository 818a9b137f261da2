// Checks inside one program unit: typing, data usage, labels, data flow.
#pragma once
#include "diagnostics.hpp"
#include "options.hpp"
#include "symbols.hpp"

namespace quarl {

void runLocalChecks(const Program& prog, const Options& opt, Diagnostics& diags);

}  // namespace quarl
