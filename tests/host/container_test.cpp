// The container parser and inflater on crafted inputs.
#include "container.hpp"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

Bytes Header(unsigned char flags, const Bytes& tail = {}) {
    Bytes b = {0x1f, 0x8b, 8, flags, 0, 0, 0, 0, 2, 11};
    b.insert(b.end(), tail.begin(), tail.end());
    return b;
}

// One gzip member as the bundler writes it, plus the trailing NUL.
Bytes Gzip(const std::string& text) {
    z_stream s{};
    EXPECT_EQ(deflateInit2(&s, 9, Z_DEFLATED, 31, 9, Z_DEFAULT_STRATEGY), Z_OK);
    Bytes out(deflateBound(&s, text.size()) + 64);
    s.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
    s.avail_in = static_cast<uInt>(text.size());
    s.next_out = out.data();
    s.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(deflate(&s, Z_FINISH), Z_STREAM_END);
    out.resize(s.total_out);
    deflateEnd(&s);
    out.push_back(0);
    return out;
}

std::string Inflate(const Bytes& data) {
    const char* text = ScriptInflateData(data.data(), static_cast<long>(data.size()));
    if (text == nullptr) return "<plain>";
    std::string result(text, static_cast<std::size_t>(ScriptLength()));
    EXPECT_EQ(text[ScriptLength()], '\0');
    ScriptRelease();
    return result;
}

struct HeaderCase {
    const char* name;
    Bytes data;
    long expected;
};

TEST(ScriptHeaderParse, AcceptsAndRejectsHeaders) {
    const std::vector<HeaderCase> cases = {
        {"minimal", Header(0, {1, 2}), 10},
        {"text bit ignored", Header(0x01, {1, 2}), 10},
        {"wrong magic", Bytes{0x1f, 0x8c, 8, 0, 0, 0, 0, 0, 2, 11, 1, 2}, -1},
        {"method not deflate", Bytes{0x1f, 0x8b, 7, 0, 0, 0, 0, 0, 2, 11, 1, 2}, -1},
        {"reserved flag 0x20", Header(0x20, {1, 2}), -1},
        {"reserved flag 0x80", Header(0x80, {1, 2}), -1},
        {"name skipped with its NUL", Header(0x08, {'a', 'b', 0, 1, 2}), 13},
        {"name and comment", Header(0x18, {'a', 0, 'c', 'd', 0, 1, 2}), 15},
        {"header crc skipped", Header(0x02, {9, 9, 1, 2}), 12},
        {"extra field skipped by length", Header(0x04, {3, 0, 'x', 'y', 'z', 1, 2}), 15},
        {"extra length beyond data", Header(0x04, {200, 0, 1, 2}), -1},
        {"data ends inside extra length", Header(0x04, {3}), -1},
        {"data ends before extra length", Header(0x04), -1},
        {"one byte after header", Header(0, {1}), -1},
        {"unterminated name", Header(0x08, {'a', 'b'}), -1},
        {"shorter than fixed header", Bytes{0x1f, 0x8b, 8, 0}, -1},
    };
    for (const auto& c : cases) {
        // An exactly sized heap copy, so a read past the end shows under ASan.
        std::vector<unsigned char> copy(c.data);
        EXPECT_EQ(ScriptHeaderParse(copy.data(), static_cast<long>(copy.size())), c.expected)
            << c.name;
    }
}

TEST(ScriptInflate, RoundTripsAcrossGrowthSteps) {
    for (std::size_t n : {0ul, 1ul, 40958ul, 40959ul, 40960ul, 2 * 40959ul, 3 * 40959ul + 7, 250000ul}) {
        std::string text(n, 'x');
        for (std::size_t i = 0; i < n; ++i) text[i] = static_cast<char>('a' + (i * 7919) % 26);
        EXPECT_EQ(Inflate(Gzip(text)), text) << "length " << n;
    }
}

TEST(ScriptInflate, PlainTextIsLeftToTheCaller) {
    EXPECT_EQ(Inflate(Bytes{'1', ';', 0}), "<plain>");
    EXPECT_EQ(ScriptInflate(), nullptr);  // the linked test container is plain
}

TEST(ScriptInflate, TrailerIsNotChecked) {
    Bytes data = Gzip("print 42;\n");
    // CRC-32 and size are the eight bytes before the NUL.
    for (std::size_t i = data.size() - 9; i < data.size() - 1; ++i) data[i] ^= 0xff;
    EXPECT_EQ(Inflate(data), "print 42;\n");
}

TEST(ScriptInflate, HeaderFieldsAreSkipped) {
    const Bytes plain = Gzip("hello");
    // extra field, file name, comment and header CRC, in gzip's order
    Bytes data = Header(0x1e, {2, 0, 'e', 'x', 'n', 'a', 'm', 'e', 0, 'c', 0, 0xAA, 0xBB});
    data.insert(data.end(), plain.begin() + 10, plain.end());
    EXPECT_EQ(Inflate(data), "hello");
}

TEST(ScriptInflateDeathTest, CorruptContainersEndWithInternalErrors) {
    Bytes good = Gzip(std::string(100000, 'q'));
    Bytes truncated(good.begin(), good.begin() + static_cast<long>(good.size() / 2));
    ASSERT_GT(good.size(), 40u);
    Bytes garbled = good;
    for (std::size_t i = 10; i < 40; ++i) garbled.at(i) = 0xff;
    Bytes badmagic = good;
    badmagic[1] = 0x8c;

    EXPECT_EXIT(Inflate(badmagic), ::testing::ExitedWithCode(1), "^Internal error: Invalid data \\[1\\]\n$");
    EXPECT_EXIT(Inflate(Header(0, {1})), ::testing::ExitedWithCode(1), "Invalid data \\[1\\]");
    EXPECT_EXIT(Inflate(truncated), ::testing::ExitedWithCode(1), "^Internal error: Invalid data \\[3\\]\n$");
    EXPECT_EXIT(Inflate(garbled), ::testing::ExitedWithCode(1), "^Internal error: Invalid data \\[3\\]\n$");
}

TEST(ScriptRelease, ForgetsTheText) {
    const Bytes data = Gzip("abc");
    ASSERT_NE(ScriptInflateData(data.data(), static_cast<long>(data.size())), nullptr);
    EXPECT_EQ(ScriptLength(), 3);
    ScriptRelease();
    EXPECT_EQ(ScriptLength(), 0);
    ScriptRelease();  // a second release does nothing
}

}  // namespace
