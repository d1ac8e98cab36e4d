#include "platform/ModulePath.h"

#include <gtest/gtest.h>
#include <sys/utsname.h>

#include <string>

TEST(SplitPath, DirectoryBaseNameAndExtension) {
    const PathParts parts = SplitPath("/usr/local/bin/numora.exe");
    EXPECT_EQ(parts.drive, "");
    EXPECT_EQ(parts.directory, "/usr/local/bin/");
    EXPECT_EQ(parts.baseName, "numora");
    EXPECT_EQ(parts.extension, ".exe");
}

TEST(SplitPath, EdgesOfNames) {
    EXPECT_EQ(SplitPath("numora").directory, "");
    EXPECT_EQ(SplitPath("numora").baseName, "numora");
    EXPECT_EQ(SplitPath("./.hidden").baseName, ".hidden");
    EXPECT_EQ(SplitPath("./.hidden").extension, "");
    EXPECT_EQ(SplitPath("a.b/c").baseName, "c");
    EXPECT_EQ(SplitPath("dir/").baseName, "");
    const std::string deep = std::string(10000, 'x') + "/n.inc";
    EXPECT_EQ(SplitPath(deep).directory.size(), 10001u);
}

TEST(ModuleInfo, FindsThisProgramAndTheKernelVersion) {
    const ModuleInfo info = ReadModuleInfo();
    EXPECT_EQ(info.error, "");
    EXPECT_EQ(info.parts.baseName, SplitPath(info.path).baseName);
    EXPECT_FALSE(info.parts.baseName.empty());
    utsname names{};
    ASSERT_EQ(uname(&names), 0);
    const std::string version = std::to_string(info.os.major) + "." + std::to_string(info.os.minor);
    EXPECT_TRUE(std::string(names.release).starts_with(version)) << names.release;
    EXPECT_GT(info.os.major, 0);
}
