// Helpers for tests that run the quarl program and read what it writes.
#pragma once
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace qt {

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& text);
bool exists(const std::string& path);

// A fresh, empty directory below the test build tree.
std::string freshDir(const std::string& name);

// Runs a command line through the shell in `cwd`; returns the exit status
// and leaves standard output and error in `output`.
int shell(const std::string& cmd, const std::string& cwd, std::string& output);

// Runs quarl with the arguments (each quoted for the shell).
int runQuarl(const std::vector<std::string>& args, const std::string& cwd, std::string& output);

std::vector<std::string> lines(const std::string& text);
std::vector<std::string> words(const std::string& text);

// (line, message number) of every message that the analysis report gives
// for the file `path`.
std::multimap<int, int> reportedMessages(const std::string& lnt, const std::string& path);

}  // namespace qt
