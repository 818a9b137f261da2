// One run of the analyzer, from the argument list to the reports.
#pragma once
#include <ostream>
#include <string>
#include <vector>

namespace quarl {

// Runs the analyzer. Console output goes to the -o file when given,
// otherwise to `console`. Returns 0 after a normal end, 2 after a fatal
// condition (reported as a "quarl (fatal): " line).
int run(const std::vector<std::string>& args, std::ostream& console);

}  // namespace quarl
