#include "base/CILogManager.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const std::string kTimeStamp = R"(\d{4}/\d{2}/\d{2} \d{2}:\d{2}:\d{2}\.\d{3} )";

class LogManagerTest : public testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "numora-log-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder_ = pattern + "/";
        log_.Configure(folder_, "app", 10, "DEBUG");
    }
    void TearDown() override {
        log_.Close();
        fs::remove_all(folder_);
    }

    std::string PathOf(const std::string& name) const { return folder_ + name; }
    void Put(const std::string& name, const std::string& text) const {
        std::ofstream(PathOf(name), std::ios::binary) << text;
    }
    std::string Read(const std::string& name) const {
        std::ifstream file(PathOf(name), std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        return text.str();
    }
    bool Exists(const std::string& name) const { return fs::exists(PathOf(name)); }
    // The records of the newest generation, each with its "\r\n".
    std::vector<std::string> Records() const {
        std::vector<std::string> records;
        const std::string text = Read("app0.log");
        for (size_t start = 0; start < text.size();) {
            const size_t end = text.find("\r\n", start);
            const size_t next = end == std::string::npos ? text.size() : end + 2;
            records.push_back(text.substr(start, next - start));
            start = next;
        }
        return records;
    }

    std::string folder_;
    CILogManager log_;
};

TEST_F(LogManagerTest, FirstRecordShiftsTheTenGenerations) {
    for (int k = 0; k < 10; ++k) Put("app" + std::to_string(k) + ".log", "g" + std::to_string(k));
    log_.Log(CILogManager::ERROR, "first");
    log_.Log(CILogManager::ERROR, "second");   // the file stays open: no second rotation
    for (int k = 1; k < 10; ++k) {
        EXPECT_EQ(Read("app" + std::to_string(k) + ".log"), "g" + std::to_string(k - 1));
    }
    EXPECT_FALSE(Exists("app10.log"));
    ASSERT_EQ(Records().size(), 2u);
    EXPECT_TRUE(std::regex_match(Records()[1], std::regex(kTimeStamp + "second\r\n")));
}

TEST_F(LogManagerTest, RotationFollowsTheGenerationCount) {
    log_.SetLevel(3, CILogManager::NONE);
    log_.SetLevel(-1, "DEBUG");   // a negative count keeps 3
    Put("app0.log", "g0");
    Put("app1.log", "g1");
    Put("app2.log", "g2");
    Put("app01.log", "not a generation");
    log_.Log(CILogManager::ERROR, "x");
    EXPECT_EQ(Read("app1.log"), "g0");
    EXPECT_EQ(Read("app2.log"), "g1");
    EXPECT_FALSE(Exists("app3.log"));   // purged as number 3 >= 3
    EXPECT_TRUE(Exists("app01.log"));   // number 1, kept
}

TEST_F(LogManagerTest, PurgeDeletesNumbersFromTheLimitUp) {
    Put("app12.log", "");
    Put("app10.log", "");
    Put("appx.log", "");
    Put("app.log", "");
    Put("app12.txt", "");
    Put("other12.log", "");
    Put("app99999999999999999999.log", "");
    // Not ours: the part between the base name and ".log" is not all digits.
    Put("app 12 keep.log", "");
    Put("app10-notes.log", "");
    Put("app+15.log", "");
    Put("app-12.log", "");
    log_.Log(CILogManager::ERROR, "record");
    EXPECT_FALSE(Exists("app12.log"));
    EXPECT_FALSE(Exists("app10.log"));
    EXPECT_FALSE(Exists("app99999999999999999999.log"));
    EXPECT_TRUE(Exists("appx.log"));
    EXPECT_TRUE(Exists("app.log"));
    EXPECT_TRUE(Exists("app12.txt"));
    EXPECT_TRUE(Exists("other12.log"));
    EXPECT_TRUE(Exists("app 12 keep.log"));
    EXPECT_TRUE(Exists("app10-notes.log"));
    EXPECT_TRUE(Exists("app+15.log"));
    EXPECT_TRUE(Exists("app-12.log"));
    EXPECT_TRUE(Exists("app0.log"));
}

TEST_F(LogManagerTest, RecordsCarryTimeStampAndLineEnd) {
    log_.Log(CILogManager::ERROR, "%s : error(%d)", "chdir", 2);
    log_.Write("%d%%", 50);
    const auto records = Records();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_TRUE(std::regex_match(records[0], std::regex(kTimeStamp + "chdir : error\\(2\\)\r\n")));
    EXPECT_TRUE(std::regex_match(records[1], std::regex(kTimeStamp + "50%\r\n")));
}

TEST_F(LogManagerTest, PositionedRecordsNameLevelAndSourceFile) {
    log_.LogText(CILogManager::ERROR, "/src/engine/unit", 264, "text");
    log_.Log(CILogManager::INFO, "C:\\src\\calc.cpp", 7, "n=%d", 3);
    log_.Log(CILogManager::WARN, "c:frame.cpp", 1, "%s", "w");
    log_.LogText(CILogManager::FATAL, nullptr, 0, "no source");
    const auto records = Records();
    ASSERT_EQ(records.size(), 4u);
    EXPECT_TRUE(std::regex_match(records[0], std::regex(kTimeStamp + "ERROR \\[unit:264\\] text\r\n")));
    EXPECT_TRUE(std::regex_match(records[1], std::regex(kTimeStamp + " INFO \\[calc.cpp:7\\] n=3\r\n")));
    EXPECT_TRUE(std::regex_match(records[2], std::regex(kTimeStamp + " WARN \\[frame.cpp:1\\] w\r\n")));
    EXPECT_TRUE(std::regex_match(records[3], std::regex(kTimeStamp + "FATAL \\[:0\\] no source\r\n")));
}

TEST_F(LogManagerTest, SystemErrorsUseTheLibraryText) {
    log_.LogSystemError(CILogManager::ERROR, "os.cpp", 9, ENOENT);
    const auto records = Records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_NE(records[0].find("ERROR [os.cpp:9] " + std::string(std::strerror(ENOENT)) + "\r\n"),
              std::string::npos);
}

TEST_F(LogManagerTest, LevelsBelowTheMinimumAreDropped) {
    log_.SetLevel(-1, "WARN");
    log_.LogText(CILogManager::INFO, "a.cpp", 1, "info");
    log_.Log(CILogManager::INFO, "plain info");
    log_.Dump(CILogManager::INFO, "dump", "\x01", 1);
    log_.LogText(CILogManager::WARN, "a.cpp", 2, "warn");
    log_.LogText(6, "a.cpp", 3, "no such level");     // positioned records need a level name
    log_.LogSystemError(0, "a.cpp", 4, ENOENT);
    log_.Log(9, "plain records take any level");
    const auto records = Records();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_NE(records[0].find(" WARN [a.cpp:2] warn"), std::string::npos);
    EXPECT_NE(records[1].find("plain records take any level"), std::string::npos);
}

TEST_F(LogManagerTest, UnknownLevelNamesSwitchLoggingOff) {
    // Each setting closes the file, so each pass writes a new generation.
    for (const char* name : {"NONE", "error", "", static_cast<const char*>(nullptr)}) {
        log_.SetLevel(-1, name);
        log_.Log(CILogManager::FATAL, "dropped");
        log_.Dump("dump", "", 0);   // no level: always written
    }
    for (int k = 0; k < 4; ++k) {
        EXPECT_TRUE(std::regex_match(Read("app" + std::to_string(k) + ".log"),
                                     std::regex(kTimeStamp + "dump\r\n")));
    }
    EXPECT_FALSE(Exists("app4.log"));
}

TEST_F(LogManagerTest, DumpWritesBytesInHexWhileTheyFit) {
    log_.Dump("d", "\x01\xab\x00", 3);
    std::vector<unsigned char> bytes(200);
    std::string allHex;
    char hex[4];
    for (int i = 0; i < 200; ++i) {
        bytes[i] = static_cast<unsigned char>(i);
        std::snprintf(hex, sizeof hex, " %02X", i);
        allHex += hex;
    }
    log_.Dump("dump", bytes.data(), 200);
    log_.Dump("none", nullptr, 5);
    log_.Dump("negative", bytes.data(), -1);
    const auto records = Records();
    ASSERT_EQ(records.size(), 4u);
    EXPECT_TRUE(std::regex_match(records[0], std::regex(kTimeStamp + "d 01 AB 00\r\n")));
    const std::string& dump = records[1];
    EXPECT_EQ(dump.size(), 511u);   // cut to the record buffer, line end kept
    const size_t text = dump.find("dump");
    ASSERT_NE(text, std::string::npos);
    const std::string shown = dump.substr(text + 4, dump.size() - text - 4 - 2);
    EXPECT_EQ(allHex.compare(0, shown.size(), shown), 0);
    EXPECT_LT(shown.size(), allHex.size());
    EXPECT_TRUE(std::regex_match(records[2], std::regex(kTimeStamp + "none\r\n")));
    EXPECT_TRUE(std::regex_match(records[3], std::regex(kTimeStamp + "negative\r\n")));
}

TEST_F(LogManagerTest, LongTextsAreCutWithoutBreakingLinesOrCharacters) {
    log_.Log(CILogManager::ERROR, "%s", std::string(2000, 'a').c_str());
    std::string wide;
    for (int i = 0; i < 300; ++i) wide += "\xe3\x81\x82";   // a three-byte character
    log_.Log(CILogManager::ERROR, "%s", wide.c_str());
    log_.Log(CILogManager::ERROR, "next");
    const auto records = Records();
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].size(), 511u);
    EXPECT_TRUE(std::regex_match(records[0], std::regex(kTimeStamp + "a+\r\n")));
    const std::string text = records[1].substr(24, records[1].size() - 24 - 2);
    EXPECT_EQ(text.size() % 3, 0u);
    EXPECT_EQ(wide.compare(0, text.size(), text), 0);
    EXPECT_TRUE(std::regex_match(records[2], std::regex(kTimeStamp + "next\r\n")));
}

TEST_F(LogManagerTest, MissingFolderDropsRecordsUntilItExists) {
    const std::string later = folder_ + "later/";
    log_.Configure(later, "app", 10, CILogManager::NONE);
    log_.Log(CILogManager::ERROR, "lost");
    ASSERT_TRUE(fs::create_directory(later));
    log_.Log(CILogManager::ERROR, "kept");
    std::ifstream file(later + "app0.log", std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    EXPECT_TRUE(std::regex_match(text.str(), std::regex(kTimeStamp + "kept\r\n")));
}

TEST_F(LogManagerTest, UnwritableFolderDropsRecordsSilently) {
    // Not even the super-user may create files in /proc.
    for (const char* folder : {"/proc/", "/proc/no-such-folder/"}) {
        log_.Configure(folder, "app", 10, 0);
        log_.Log(CILogManager::ERROR, "lost");
        log_.LogText(CILogManager::ERROR, "a.cpp", 1, "lost");
        EXPECT_FALSE(fs::exists(std::string(folder) + "app0.log"));
    }
}

TEST_F(LogManagerTest, NoGenerationsMeansNoFile) {
    log_.SetLevel(0, "DEBUG");
    log_.Log(CILogManager::ERROR, "lost");
    EXPECT_FALSE(Exists("app0.log"));
}

TEST_F(LogManagerTest, WithoutABaseNameNothingIsWrittenOrPurged) {
    Put("12.log", "");
    log_.Configure(folder_, "", 10, 0);
    log_.Log(CILogManager::ERROR, "lost");
    log_.Purge(0);
    EXPECT_TRUE(Exists("12.log"));
    EXPECT_FALSE(Exists("0.log"));
}

TEST(GlobalLog, IsOneInstance) { EXPECT_EQ(&GlobalLog(), &GlobalLog()); }

}  // namespace
