#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "source_reader.hpp"

namespace fs = std::filesystem;

namespace {

class Reader : public ::testing::Test {
protected:
    fs::path dir = fs::temp_directory_path() / ("quarl-reader-" + std::to_string(::getpid()));
    quarl::Options opt;
    quarl::MessageSwitches sw;
    quarl::Diagnostics diags{sw};
    std::vector<quarl::SourceFile> files;

    void SetUp() override {
        fs::create_directories(dir);
        sw.fyis = true;
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string write(const std::string& name, const std::string& text) {
        std::ofstream(dir / name, std::ios::binary) << text;
        return (dir / name).string();
    }
    std::vector<quarl::Statement> read(const std::string& path) {
        quarl::SourceReader r(opt, diags, files);
        std::vector<quarl::Statement> out;
        r.load(path, out);
        return out;
    }
    bool has(int number) const {
        for (const auto& d : diags.all())
            if (d.number == number) return true;
        return false;
    }
};

TEST_F(Reader, FixedFormContinuationCommentsLabelsAndColumns) {
    std::string p = write("a.f",
                          "C comment\n"
                          "* another\n"
                          "      X = 'it''s ! not a comment'   ! but this is\n"
                          "   10 Y = 1 +\n"
                          "     &    2\n"
                          "D     PRINT *, Y\n"
                          "\n"
                          "\tZ = 3\n"
                          "\t1 + 4\n"
                          "      A = B; C = D\n" +
                              std::string("      W = 1") + std::string(61, ' ') + "XXXX\n");
    auto st = read(p);
    ASSERT_EQ(st.size(), 6u);
    EXPECT_EQ(st[0].text, "X = 'it''s ! not a comment'");
    EXPECT_EQ(st[1].label, "10");
    EXPECT_EQ(st[1].text, "Y = 1 +    2");
    EXPECT_EQ(st[1].lastLine, 5);
    EXPECT_EQ(st[2].text, "Z = 3 + 4");
    EXPECT_EQ(st[3].text, "A = B");
    EXPECT_EQ(st[4].text, "C = D");
    EXPECT_EQ(st[5].text, "W = 1");  // columns past 72 are not code
    EXPECT_TRUE(has(106));
    EXPECT_TRUE(has(76));
    EXPECT_TRUE(has(201));  // the debug line was a comment
    const quarl::SourceFile& f = files.at(0);
    EXPECT_EQ(f.lines, 11);
    EXPECT_EQ(f.comments, 3);
    EXPECT_EQ(f.blank, 1);
    EXPECT_EQ(f.code, 7);
    EXPECT_FALSE(f.free);
}

TEST_F(Reader, DebugLinesAnd132Columns) {
    opt.debugLines = true;
    opt.cols132 = true;
    std::string p = write("b.f", "D     PRINT *, Y\n      W = 1                                                          + 2\n");
    auto st = read(p);
    ASSERT_EQ(st.size(), 2u);
    EXPECT_EQ(st[0].text, "PRINT *, Y");
    EXPECT_EQ(st[1].text.back(), '2');
    EXPECT_FALSE(has(106));
}

TEST_F(Reader, FreeFormContinuationAndComments) {
    std::string p = write("c.f90",
                          "program p ! name\n"
                          "  x = 1 + &   ! more\n"
                          "      ! between\n"
                          "     & 2\n"
                          "  s = 'a & b' // &\n"
                          "      'c'\n"
                          "100 continue\n");
    auto st = read(p);
    ASSERT_EQ(st.size(), 4u);
    EXPECT_EQ(st[0].text, "program p");
    EXPECT_EQ(st[1].text, "x = 1 +  2");
    EXPECT_EQ(st[2].text, "s = 'a & b' // 'c'");
    EXPECT_EQ(st[3].label, "100");
    EXPECT_TRUE(files.at(0).free);
}

TEST_F(Reader, FormByExtensionSwitchAndContent) {
    using quarl::SourceForm;
    struct Case {
        const char* name;
        std::vector<std::string> lines;
        SourceForm forced;
        bool free;
    } cases[] = {
        {"a.f90", {"      X = 1"}, SourceForm::Automatic, true},
        {"a.f", {"x = 1"}, SourceForm::Automatic, false},
        {"a.src", {"x = 1"}, SourceForm::Automatic, true},
        {"a.src", {"      X = 1", "     &  + 2"}, SourceForm::Automatic, false},
        {"a.src", {"      X = 1 + &", "  2"}, SourceForm::Automatic, true},
        {"a.f90", {"x = 1"}, SourceForm::Fixed, false},
        {"a.f", {"      X = 1"}, SourceForm::Free, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(quarl::SourceReader::detectFree(c.name, c.lines, c.forced, false, false), c.free) << c.name;
}

TEST_F(Reader, IncludesNestAndRecursionIsStopped) {
    write("one.inc", "      INCLUDE 'two.inc'\n      A = 1\n");
    write("two.inc", "      INCLUDE 'one.inc'\n      B = 2\n");
    std::string p = write("m.f", "      INCLUDE 'one.inc'\n      INCLUDE 'absent.inc'\n      END\n");
    auto st = read(p);
    ASSERT_EQ(st.size(), 3u);
    EXPECT_EQ(st[0].text, "B = 2");
    EXPECT_EQ(st[1].text, "A = 1");
    EXPECT_TRUE(has(11));
    EXPECT_TRUE(has(2));
}

TEST_F(Reader, FileIncludedTwiceIsCountedOnce) {
    write("d.inc", "      INTEGER A\n      REAL B\n");
    std::string p = write("m2.f", "      INCLUDE 'd.inc'\n      INCLUDE 'd.inc'\n      END\n");
    auto st = read(p);
    EXPECT_EQ(st.size(), 5u);  // both inclusions are analyzed
    ASSERT_EQ(files.size(), 2u);
    const quarl::SourceFile& inc = files[1];
    EXPECT_TRUE(inc.isInclude);
    EXPECT_EQ(inc.lines, 2);
    EXPECT_EQ(inc.code, 2);
    EXPECT_EQ(inc.statements, 2);
    EXPECT_EQ(files[0].statements, 1);
    EXPECT_EQ(files[0].lines, 3);
}

TEST_F(Reader, OnlyRegularFilesAreRead) {
    quarl::SourceReader r(opt, diags, files);
    std::vector<quarl::Statement> out;
    EXPECT_FALSE(r.load(dir.string(), out));
    EXPECT_FALSE(r.load((dir / "missing.f").string(), out));
    EXPECT_TRUE(has(1));
}

}  // namespace
