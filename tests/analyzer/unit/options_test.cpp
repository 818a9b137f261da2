#include <gtest/gtest.h>

#include "catalog.hpp"
#include "cmdfile.hpp"
#include "options.hpp"

namespace {

TEST(CommandFile, SkipsCommentsAndUnquotesItems) {
    auto items = quarl::parseCommandText(
        "! 4K2JD 9XQ2M 77AB1 QQ0PL ZZ19X 0A0A0\r\n!x\n  -g  \n\n\"-I/home/u/my src\"\n\"/home/u/my src/a b.f\"\n");
    EXPECT_EQ(items, (std::vector<std::string>{"-g", "-I/home/u/my src", "/home/u/my src/a b.f"}));
}

// The arguments a new project gives, in the front end's order.
TEST(Options, FrontEndDefaultsGiveTheirSettings) {
    quarl::Options o;
    quarl::parseArguments({"-I/home/u/src", "--e", "--a", "-t", "-Tcondensed", "-Tnoalpha", "-Tnosquish", "-Ttrim",
                           "--p", "-u", "--d", "--f", "-g", "--m", "--l", "-s", "--2", "-w", "-x",
                           "-S/tmp/quarltmp500-77/quarl", "-Mdepend", "-W75", "-Xno_unreferenced_parameters",
                           "-Xno_unused_common_variables", "-O76", "-O207", "-O261", "-O176", "/home/u/src/a.f"},
                          o);
    EXPECT_TRUE(o.unknown.empty());
    EXPECT_EQ(o.includeDirs, std::vector<std::string>{"/home/u/src"});
    EXPECT_FALSE(o.cols132);
    EXPECT_TRUE(o.callTree);
    EXPECT_TRUE(o.tree.condensed && o.tree.trim && !o.tree.alphabetic && !o.tree.squish);
    EXPECT_TRUE(o.usage && o.globalMode && o.statistics && o.xref && o.depend);
    EXPECT_FALSE(o.preprocess || o.debugLines || o.implicitTyping || o.listing || o.twoByteInts);
    EXPECT_TRUE(o.messages.warnings);
    EXPECT_FALSE(o.messages.fyis);
    EXPECT_EQ(o.reportBase, "/tmp/quarltmp500-77/quarl");
    EXPECT_EQ(o.width, 75);
    EXPECT_EQ(o.xrefOpts.filters.size(), 2u);
    for (int n : {76, 207, 261, 176}) {
        ASSERT_NE(quarl::findMessage(n), nullptr) << n;
        EXPECT_FALSE(o.messages.isEnabled(n)) << n;
    }
    EXPECT_EQ(o.files, std::vector<std::string>{"/home/u/src/a.f"});
}

TEST(Options, OnAndOffFormsAndValuedSwitches) {
    quarl::Options o;
    quarl::parseArguments({"-e", "--e", "-Thead:MAIN", "-Thead=SUB1", "-Fon", "-Mhpf", "-Mignore_paths",
                           "-Mignore_logicals", "-Muselbt", "-Xlinenumbers", "-Xlower", "-Xtabular", "-PSUN",
                           "-Pansi77", "-9", "-VDECVMS", "-Rfree", "-W200", "-DFOO=a_b", "-DBAR", "-UBAZ", "-p"},
                          o);
    EXPECT_TRUE(o.unknown.empty());
    EXPECT_FALSE(o.cols132);
    EXPECT_EQ(o.tree.heads, (std::vector<std::string>{"MAIN", "SUB1"}));
    EXPECT_TRUE(o.dataFlow && o.hpf && o.ignorePaths && o.ignoreLogicals && o.useLbtFirst && o.preprocess);
    EXPECT_TRUE(o.xrefOpts.lineNumbers && o.xrefOpts.lower && o.xrefOpts.tabular);
    EXPECT_EQ(o.targets, (std::vector<std::string>{"SUN", "ANSI77"}));
    EXPECT_EQ(o.language, 90);
    EXPECT_EQ(o.dialect, "DECVMS");
    EXPECT_EQ(o.form, quarl::SourceForm::Free);
    EXPECT_EQ(o.width, 150);
    ASSERT_EQ(o.defines.size(), 2u);
    EXPECT_EQ(o.defines[0], std::make_pair(std::string("FOO"), std::string("a_b")));
    EXPECT_EQ(o.undefines, std::vector<std::string>{"BAZ"});
}

TEST(Options, MalformedSwitchesAreRecordedNotFatal) {
    quarl::Options o;
    quarl::parseArguments({"-Z", "-O0", "-O32001", "-Owall", "-Thead:9a", "-Thead:", "-PMARS", "-Rsideways", "-Wabc",
                           "-D9X", "-Tsideways", "-X", "-Xbogus", "--q"},
                          o);
    EXPECT_EQ(o.unknown.size(), 14u);
    EXPECT_TRUE(o.files.empty());
}

TEST(Messages, SeverityClassesAndOverridesInOrder) {
    quarl::MessageSwitches m;
    EXPECT_TRUE(m.isEnabled(3));     // errors
    EXPECT_TRUE(m.isEnabled(101));   // warnings on by default
    EXPECT_FALSE(m.isEnabled(261));  // FYIs off by default
    m.fyis = true;
    EXPECT_TRUE(m.isEnabled(261));
    m.disable(261);
    EXPECT_FALSE(m.isEnabled(261));
    m.enable(261);
    EXPECT_TRUE(m.isEnabled(261));
    m.warnings = false;
    EXPECT_FALSE(m.isEnabled(101));
    m.enable(101);
    EXPECT_TRUE(m.isEnabled(101));
    m.disableAll();
    EXPECT_FALSE(m.isEnabled(3));
    m.enableAll();
    EXPECT_TRUE(m.isEnabled(76));
    EXPECT_FALSE(m.isEnabled(99999));  // no such message
}

}  // namespace
