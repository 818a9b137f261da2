// The container the unit-test binary links with: plain text, flag off.
#include "container.hpp"

extern const std::uint32_t ContainerActiveFlag = 0;
extern const unsigned char ContainerScript[] = "1;";
extern const long ContainerScriptSize = sizeof(ContainerScript);
