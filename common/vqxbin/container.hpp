// The application script as the host carries it, and the operations that
// turn it back into text for the interpreter.
#pragma once

#include <cstdint>

// Defined by the generated container source the host is linked with.
extern const std::uint32_t ContainerActiveFlag;
extern const unsigned char ContainerScript[];
extern const long ContainerScriptSize;

// Offset of the first deflate byte behind the gzip header, or -1 when the
// header is not acceptable.
long ScriptHeaderParse(const unsigned char* data, long count);

// Inflates the container's script; nullptr when the container holds plain
// text, which the caller then evaluates as stored.
const char* ScriptInflate();

// The same on any stored bytes; the host's own script is just one input.
const char* ScriptInflateData(const unsigned char* data, long count);

// Length of the inflated text held since the last inflation.
long ScriptLength();

// Wipes and releases the inflated text.
void ScriptRelease();

// Reports "Internal error: MESSAGE" and ends the process with status 1.
[[noreturn]] void HostInternalError(const char* message);
