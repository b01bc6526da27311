// Tests of the safe output file: complete files only, earlier files kept on failure.
#include "app/output_file.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <stdexcept>
#include <string>

namespace fs = std::filesystem;

namespace {

// Output files are text files, whose lines end as the platform's text mode ends them.
#ifdef _WIN32
const std::string kLineEnd = "\r\n";
#else
const std::string kLineEnd = "\n";
#endif

class OutputFile : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir = fs::temp_directory_path() /
              ("tavra_output_file_" + std::string(info->name()) + "_" +
               std::to_string(std::hash<std::string>{}(fs::current_path().string())));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string path(const std::string& name) const { return (dir / name).string(); }

    static std::string contents(const std::string& name) {
        std::ifstream in(name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    // Everything left in the directory besides the expected outputs.
    std::size_t entries() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
    }

    fs::path dir;
};

} // namespace

TEST_F(OutputFile, WritesTheWholeTextUnderItsName) {
    const auto status = writeOutputFile(
        path("2020_189_155.wpt"), [](std::ostream& out) { out << "0,N36.8153,-121.8224  \n"; });
    EXPECT_EQ(status, OutputFileStatus::written);
    EXPECT_EQ(contents(path("2020_189_155.wpt")), "0,N36.8153,-121.8224  " + kLineEnd);
    EXPECT_EQ(entries(), 1u);
}

TEST_F(OutputFile, ReplacesAnEarlierFileOfTheSameName) {
    std::ofstream(path("a.cfg")) << "an earlier, much longer mission script\n";
    EXPECT_EQ(writeOutputFile(path("a.cfg"), [](std::ostream& out) { out << "new\n"; }),
              OutputFileStatus::written);
    EXPECT_EQ(contents(path("a.cfg")), "new" + kLineEnd);
    EXPECT_EQ(entries(), 1u);
}

TEST_F(OutputFile, NothingAppearsUnderTheNameWhileWriting) {
    bool seenDuringWrite = true;
    std::size_t entriesDuringWrite = 0;
    writeOutputFile(path("a.csv"), [&](std::ostream& out) {
        out << "x";
        seenDuringWrite = fs::exists(path("a.csv"));
        entriesDuringWrite = entries();
    });
    EXPECT_FALSE(seenDuringWrite);
    EXPECT_EQ(entriesDuringWrite, 1u); // the temporary file, beside the target
}

TEST_F(OutputFile, FailedWriteKeepsTheEarlierFileAndLeavesNoTemporary) {
    std::ofstream(path("a.cfg")) << "earlier\n";
    const auto status = writeOutputFile(path("a.cfg"), [](std::ostream& out) {
        out << "half a script";
        out.setstate(std::ios::badbit); // as a full disk leaves the stream
    });
    EXPECT_EQ(status, OutputFileStatus::cannotWrite);
    EXPECT_EQ(contents(path("a.cfg")), "earlier" + kLineEnd);
    EXPECT_EQ(entries(), 1u);
}

TEST_F(OutputFile, DirectoryInTheWayCannotBeOpened) {
    fs::create_directory(path("a.pts"));
    bool called = false;
    EXPECT_EQ(writeOutputFile(path("a.pts"), [&](std::ostream&) { called = true; }),
              OutputFileStatus::cannotOpen);
    EXPECT_FALSE(called);
    EXPECT_TRUE(fs::is_directory(path("a.pts")));
    EXPECT_EQ(entries(), 1u);
}

TEST_F(OutputFile, MissingDirectoryCannotBeOpened) {
    EXPECT_EQ(writeOutputFile(path("no/such/a.wpt"), [](std::ostream& out) { out << "x"; }),
              OutputFileStatus::cannotOpen);
    EXPECT_EQ(entries(), 0u);
}

TEST_F(OutputFile, ExceptionFromTheWriterRemovesTheTemporary) {
    EXPECT_THROW(writeOutputFile(path("a.cfg"),
                                 [](std::ostream& out) {
                                     out << "x";
                                     throw std::runtime_error("writer failed");
                                 }),
                 std::runtime_error);
    EXPECT_EQ(entries(), 0u);
}
