// Fuzz target: the console dialogue on any standard input. The input's first byte picks
// what the file-name answer names (mostly a real waypoint file, so that the menus are
// reached); the rest is typed after it. End of input must always end the dialogue.
#include "app/dialogue.h"
#include "check.h"
#include "input/plain_reader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <streambuf>
#include <string>
#include <system_error>

namespace {

std::filesystem::path workDirectory;

// Keeps only the last bytes written: the menus repeat for every unreadable character, so
// the whole conversation can be far longer than the input.
class TailBuffer : public std::streambuf {
  public:
    std::string tail;

  protected:
    int_type overflow(int_type c) override {
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            keep(traits_type::to_char_type(c));
        }
        return traits_type::not_eof(c);
    }
    std::streamsize xsputn(const char* text, std::streamsize count) override {
        for (std::streamsize i = 0; i < count; ++i) {
            keep(text[i]);
        }
        return count;
    }

  private:
    void keep(char c) {
        if (tail.size() >= 256) {
            tail.erase(0, 128);
        }
        tail.push_back(c);
    }
};

void noKey() {}

void removeWorkDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(workDirectory, ignored);
}

bool endsWith(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "tavra_fuzz_dialogue.XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        std::abort();
    }
    workDirectory = pattern;
    std::atexit(removeWorkDirectory);
    std::ofstream(workDirectory / "survey.txt") << "36.8167 -121.8171\n36.8215 -121.7986\n";
    std::ofstream(workDirectory / "empty.txt").flush();
    std::filesystem::create_directory(workDirectory / "folder");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::string typed(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::string base = workDirectory.string() + "/";
    std::string input;
    bool namesSurvey = false;
    switch (data[0] % 8) {
    case 5:
        input = base + "empty.txt\n" + typed;
        break;
    case 6:
        input = base + "folder\n" + typed;
        break;
    case 7: {
        // The name is typed too, but kept inside the work directory, where nothing starts
        // with "x": whatever bytes it holds, it names no file.
        std::string name = typed;
        for (char& c : name) {
            c = c == '/' ? '_' : c;
        }
        input = base + "x" + name;
        break;
    }
    default:
        input = base + "survey.txt\n" + typed;
        namesSurvey = true;
    }

    std::istringstream in(input);
    TailBuffer shown;
    std::ostream out(&shown);
    MissionParameters params;
    SourceFile waypointFile;
    const DialogueStatus status = runInteractiveDialogue(in, out, params, waypointFile, noKey);

    switch (status) {
    case DialogueStatus::ready: {
        FUZZ_CHECK(params.yoyoMission == 0 || params.yoyoMission == 1);
        FUZZ_CHECK(params.gulperMission == 0 || params.gulperMission == 1);
        // The driver reads the waypoints from the bytes the listing showed.
        const DocumentResult read = readPlain(waypointFile.bytes, waypointFile.name);
        FUZZ_CHECK(read.ok && read.document.features.size() == 1);
        FUZZ_CHECK(read.document.features.front().points.size() == (namesSurvey ? 2u : 0u));
        break;
    }
    case DialogueStatus::cannotOpenFile:
        FUZZ_CHECK(!namesSurvey && data[0] % 8 != 5);
        FUZZ_CHECK(waypointFile.bytes.empty());
        break;
    case DialogueStatus::cannotReadFile:
        FUZZ_CHECK(false); // every file it names can be read
        break;
    case DialogueStatus::endOfInput:
        FUZZ_CHECK(endsWith(shown.tail, "*** END OF INPUT: NO MISSION WRITTEN ***\n"));
        FUZZ_CHECK(in.peek() == std::char_traits<char>::eof());
        break;
    }
    return 0;
}
