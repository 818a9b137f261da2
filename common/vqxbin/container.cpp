#include "container.hpp"

#include <zlib.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

// Growth step of the output buffer; one byte of every block stays free for
// the terminating NUL.
constexpr long kGrowStep = 40960;
constexpr uInt kOutputSpace = 0x9FFF;

struct FreeDeleter {
    void operator()(char* p) const { std::free(p); }
};
using Block = std::unique_ptr<char, FreeDeleter>;

Block ScriptBuffer;
long ScriptBufferLength = 0;

// A plain memset before free may be dropped by the optimiser; calling it
// through a volatile pointer keeps the wipe.
void* (*volatile WipeFunction)(void*, int, std::size_t) = std::memset;

void Wipe(char* p, long n) {
    if (p != nullptr && n > 0) WipeFunction(p, 0, static_cast<std::size_t>(n));
}

Block Allocate(long size) {
    Block block(static_cast<char*>(std::malloc(static_cast<std::size_t>(size))));
    if (!block) HostInternalError("Out of memory");
    return block;
}

// Ends the zlib stream on every way out of the inflation.
struct InflateStream {
    z_stream strm{};
    bool open = false;
    ~InflateStream() {
        if (open) inflateEnd(&strm);
    }
};

}  // namespace

long ScriptHeaderParse(const unsigned char* data, long count) {
    if (data == nullptr || count < 10) return -1;
    if (data[0] != 0x1f || data[1] != 0x8b || data[2] != 8) return -1;
    const int flags = data[3];
    if (flags & 0xE0) return -1;

    long pos = 10;
    auto next = [&]() -> int {
        if (pos < count) return data[pos++];
        return -1;
    };

    if (flags & 0x04) {
        const int lo = next();
        const int hi = next();
        // Data ending inside the length bytes is not a header.
        if (lo < 0 || hi < 0) return -1;
        pos += lo + 256L * hi;
    }
    if (flags & 0x08) {
        int c;
        do c = next(); while (c > 0);
    }
    if (flags & 0x10) {
        int c;
        do c = next(); while (c > 0);
    }
    if (flags & 0x02) pos += 2;

    return pos < count - 1 ? pos : -1;
}

const char* ScriptInflateData(const unsigned char* data, long count) {
    if (zlibVersion()[0] != ZLIB_VERSION[0]) HostInternalError("Incompatible version of ZLIB");
    if (count < 1 || data[0] != 0x1f) return nullptr;

    const long offset = ScriptHeaderParse(data, count);
    if (offset < 0) HostInternalError("Invalid data [1]");

    InflateStream stream;
    z_stream& strm = stream.strm;
    strm.next_in = const_cast<Bytef*>(data + offset);
    strm.avail_in = static_cast<uInt>(count - offset);
    if (inflateInit2_(&strm, -15, ZLIB_VERSION, static_cast<int>(sizeof(z_stream))) != Z_OK)
        HostInternalError("Invalid data [2]");
    stream.open = true;

    Block current;
    long produced = 0;
    for (;;) {
        Block block = Allocate(produced + kGrowStep);
        char* out = block.get();
        if (produced > 0) {
            std::memcpy(out, current.get(), static_cast<std::size_t>(produced));
            Wipe(current.get(), produced);
            out += produced;
        }
        current = std::move(block);
        strm.next_out = reinterpret_cast<Bytef*>(out);
        strm.avail_out = kOutputSpace;

        const int rc = inflate(&strm, Z_NO_FLUSH);
        produced = static_cast<long>(strm.total_out);
        if (rc == Z_STREAM_END) break;
        if (rc != Z_OK) {
            Wipe(current.get(), produced);
            HostInternalError("Invalid data [3]");
        }
    }

    stream.open = false;
    if (inflateEnd(&strm) != Z_OK) {
        Wipe(current.get(), produced);
        HostInternalError("Invalid data [4]");
    }

    ScriptRelease();
    current.get()[produced] = '\0';
    ScriptBufferLength = produced;
    ScriptBuffer = std::move(current);
    return ScriptBuffer.get();
}

const char* ScriptInflate() {
    return ScriptInflateData(ContainerScript, ContainerScriptSize);
}

long ScriptLength() { return ScriptBuffer ? ScriptBufferLength : 0; }

void ScriptRelease() {
    if (!ScriptBuffer) return;
    Wipe(ScriptBuffer.get(), ScriptBufferLength);
    ScriptBuffer.reset();
    ScriptBufferLength = 0;
}
