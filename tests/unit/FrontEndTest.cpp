#include "app/CFrontEnd.h"

#include <gtest/gtest.h>

#include <string>

#include "app/CArgumentSet.h"
#include "platform/ModulePath.h"

TEST(CommandCopy, TrimsWhiteSpaceAndLowersAsciiOnly) {
    EXPECT_EQ(CommandCopy("  #HEX  "), "#hex");
    EXPECT_EQ(CommandCopy("\t#Lv\r"), "#lv");
    EXPECT_EQ(CommandCopy("   "), "");
    EXPECT_EQ(CommandCopy(""), "");
    EXPECT_EQ(CommandCopy("#S 1"), "#s 1");
    // Bytes of multi-byte characters are neither space nor letters.
    EXPECT_EQ(CommandCopy("\xef\xbc\xa1 A\xc3\x80"), "\xef\xbc\xa1 a\xc3\x80");
    EXPECT_EQ(CommandCopy(std::string("#h\0X", 4)), std::string("#h\0x", 4));
}

TEST(Arguments, TheProgramPathIsNeverAnOption) {
    const char* argv[] = {"/usr/local/bin/numora", "/s", "-e1", "word", "/?"};
    const CArgumentSet arguments(5, argv);
    EXPECT_EQ(arguments.Options(), (std::vector<std::string>{"/s", "-e1", "/?"}));
    EXPECT_EQ(arguments.Others(), (std::vector<std::string>{"/usr/local/bin/numora", "word"}));
    EXPECT_EQ(IncludePath(arguments), "/usr/local/bin/numora.inc");
}

TEST(Arguments, TheIncludeFileIsNamedAfterThePathAsTyped) {
    const char* relative[] = {"./calc.exe"};
    EXPECT_EQ(IncludePath(CArgumentSet(1, relative)), "./calc.inc");
    const std::string longPath = std::string(5000, 'd') + "/numora";
    const char* deep[] = {longPath.c_str()};
    EXPECT_EQ(IncludePath(CArgumentSet(1, deep)), std::string(5000, 'd') + "/numora.inc");
}

TEST(Arguments, ABareNameStandsInTheExecutablesFolder) {
    const char* bare[] = {"calc"};
    EXPECT_EQ(IncludePath(CArgumentSet(1, bare)), SplitPath(ModulePath()).directory + "calc.inc");
    const char* empty[] = {""};
    EXPECT_EQ(IncludePath(CArgumentSet(1, empty)), "");
}

TEST(Arguments, NoWordsMeansNoProgram) {
    const CArgumentSet arguments(0, nullptr);
    EXPECT_FALSE(arguments.HasProgram());
    EXPECT_TRUE(arguments.Options().empty());
}
