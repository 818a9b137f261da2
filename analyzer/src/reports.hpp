// The four report writers; each writes the report's full text.
#pragma once
#include <ostream>
#include <string>

#include "report_common.hpp"

namespace quarl {

void analysisReport(const RunContext& ctx, std::ostream& out);    // .lnt
void statisticsReport(const RunContext& ctx, std::ostream& out);  // .stt
void callTreeReport(const RunContext& ctx, std::ostream& out);    // .tre
void xrefReport(const RunContext& ctx, std::ostream& out);        // .xrf

}  // namespace quarl
