// The command file: "!" comment lines, then one switch or file per line.
#pragma once
#include <string>
#include <vector>

namespace quarl {

// Splits command-file text into its items: comment and empty lines are
// skipped, outer blanks trimmed, double quotes (which protect blanks) removed.
std::vector<std::string> parseCommandText(const std::string& text);

// Reads a regular file whole. False, with a reason, when it cannot be read.
bool readRegularFile(const std::string& path, std::string& out, std::string& why);

}  // namespace quarl
