// The four report writers; each returns the report's full text.
#pragma once
#include <string>

#include "report_common.hpp"

namespace quarl {

std::string analysisReport(const RunContext& ctx);    // .lnt
std::string statisticsReport(const RunContext& ctx);  // .stt
std::string callTreeReport(const RunContext& ctx);    // .tre
std::string xrefReport(const RunContext& ctx);        // .xrf

}  // namespace quarl
