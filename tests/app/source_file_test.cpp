// Tests of reading a waypoint file into memory: once, whole, with lines of bounded length,
// and a read error told from the end of the file.
#include "app/source_file.h"
#include "input/line_text.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <streambuf>
#include <string>

namespace {

// Content read as if from standard input.
SourceFile readFrom(std::istream& in, SourceReadResult& result) {
    OpenedSource opened;
    EXPECT_TRUE(openSource("-", &in, opened));
    SourceFile file;
    result = readOpenedSource(opened, file);
    return file;
}

SourceFile readText(const std::string& text) {
    std::istringstream in(text);
    SourceReadResult result;
    SourceFile file = readFrom(in, result);
    EXPECT_TRUE(result.ok);
    return file;
}

// Gives some bytes, then fails as a disk or a network file system can.
class FailingBuffer : public std::streambuf {
  public:
    explicit FailingBuffer(std::string bytes) : bytes_(std::move(bytes)) {
        setg(bytes_.data(), bytes_.data(), bytes_.data() + bytes_.size());
    }

  protected:
    int_type underflow() override { throw std::ios_base::failure("read error"); }

  private:
    std::string bytes_;
};

} // namespace

TEST(SourceFile, StandardInputIsReadWhole) {
    const std::string text = "36.8167 -121.8171\r\n\0 \x1a" + std::string(200000, '7') + "\n";
    const SourceFile file = readText(text);
    EXPECT_EQ(file.name, "standard input");
    EXPECT_EQ(file.path, "");
    EXPECT_EQ(file.bytes, text);
}

TEST(SourceFile, ALineFormatStopsAfterALineLongerThanTheLimit) {
    const std::string longLine(3 * kMaxLineBytes, 'x');
    const SourceFile file = readText("1 2\n" + longLine + "\n3 4\n");
    EXPECT_GT(file.bytes.size(), 4 + kMaxLineBytes);
    EXPECT_LT(file.bytes.size(), 4 + kMaxLineBytes + (std::size_t{1} << 17));
    // White space before anything else counts as a line too.
    EXPECT_LT(readText(std::string(3 * kMaxLineBytes, ' ') + "1 2\n").bytes.size(),
              2 * kMaxLineBytes);
}

// XML and JSON may come on one long line, as many programs write them.
TEST(SourceFile, DocumentsAreReadWholeWhateverTheirLines) {
    for (const std::string start : {"{", "\xEF\xBB\xBF\r\n  [", "<"}) {
        const std::string text = start + std::string(3 * kMaxLineBytes, ' ') + "x";
        EXPECT_EQ(readText(text).bytes, text) << start;
    }
}

TEST(SourceFile, AReadErrorIsNoEndOfFile) {
    FailingBuffer buffer("36.8 -121.9\n");
    std::istream in(&buffer);
    SourceReadResult result;
    readFrom(in, result);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(readErrorMessage("route.txt"),
              "*** READ ERROR *** route.txt: the file could not be read to its end");
}

TEST(SourceFile, FilesDirectoriesAndNames) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() /
        ("tavra_source_file_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "route.txt").string();
    std::ofstream(path, std::ios::binary) << "1 2\r\n";
    std::istringstream none;

    SourceFile file;
    std::string message;
    ASSERT_EQ(loadSourceFile(path, none, file, message), SourceFileStatus::loaded);
    EXPECT_EQ(file.bytes, "1 2\r\n");
    EXPECT_EQ(file.path, path); // a regular file, which GDAL may open by name
    EXPECT_EQ(loadSourceFile(dir.string(), none, file, message), SourceFileStatus::cannotOpen);
    EXPECT_EQ(loadSourceFile((dir / "none.txt").string(), none, file, message),
              SourceFileStatus::cannotOpen);
    EXPECT_EQ(loadSourceFile(path + std::string(1, '\0') + "x", none, file, message),
              SourceFileStatus::cannotOpen);
    // Without standard input to read, "-" is a file of that name.
    OpenedSource opened;
    EXPECT_FALSE(openSource("-", nullptr, opened));
    std::filesystem::remove_all(dir);
}
