// The container code reports through the host's internal-error exit; the
// sanitizer build has no interpreter, so it ends the process directly with
// the same text and status.
#include "container.hpp"

#include <cstdio>
#include <cstdlib>

void HostInternalError(const char* message) {
    std::fprintf(stderr, "Internal error: %s\n", message);
    std::fflush(stderr);
    std::exit(1);
}
