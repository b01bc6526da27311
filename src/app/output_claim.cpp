// Claims the names of a run's files: a lock per stem and folder, and a look at what is there.
#include "app/output_claim.h"

#include "app/output_file_platform.h"
#include "input/line_text.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <thread>

namespace {

// A run holds the lock only while it writes its files, which takes well under a second; a
// wait this long means the other run is stuck, and the planner is told instead.
constexpr auto kLongestWait = std::chrono::seconds(30);
constexpr auto kRetryEvery = std::chrono::milliseconds(20);

std::string utcMinuteText(std::int64_t seconds) {
    const std::time_t when = static_cast<std::time_t>(seconds);
    const std::tm* utc = std::gmtime(&when);
    if (utc == nullptr) {
        return "at an unknown time";
    }
    char text[64];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M UTC", utc);
    return text;
}

} // namespace

std::string pathInFolder(const std::string& folder, const std::string& name) {
    return folder.empty() ? name : (std::filesystem::path(folder) / name).string();
}

OutputClaim claimOutputNames(const std::string& folder, const std::string& stem,
                             const std::vector<std::string>& names, std::int64_t runTime,
                             bool overwrite) {
    OutputClaim claim;
    // The stem ends in a dot; hidden, the lock file stays out of a plain listing.
    const std::string lock = pathInFolder(folder, "." + stem + "lock");
    const auto giveUp = std::chrono::steady_clock::now() + kLongestWait;
    // Where no lock can be made, no file can be either, and the writers say so.
    while (tryLockOutputStem(lock) == StemLock::busy) {
        if (std::chrono::steady_clock::now() > giveUp) {
            claim.refusal = "*** another run has been writing files named " +
                            displayableLine(stem) + "* in this folder for " +
                            std::to_string(kLongestWait.count()) + " s (its lock file is " +
                            displayableLine(lock) + "); nothing written ***";
            return claim;
        }
        std::this_thread::sleep_for(kRetryEvery);
    }
    // Files of this stem written since the minute began come from a run of this minute (the
    // one that waited for the lock, or an earlier try): a re-run replaces them, as always.
    // A file written at any other time only shares the digits (01:47 and 14:07 both give 147)
    // or comes from another day, and is somebody's mission.
    const std::int64_t minuteStart = runTime - ((runTime % 60) + 60) % 60;
    const std::int64_t now = static_cast<std::int64_t>(std::time(nullptr));
    const std::int64_t latest = std::max(minuteStart + 59, now);
    for (const std::string& name : names) {
        const std::string path = pathInFolder(folder, name);
        // A directory in the way is no run's file; the writer says it cannot replace it.
        std::error_code error;
        if (!std::filesystem::is_regular_file(path, error)) {
            continue;
        }
        const std::optional<std::int64_t> written = lastWriteTime(path);
        if (!written || overwrite || (*written >= minuteStart && *written <= latest)) {
            continue;
        }
        unlockOutputStem();
        claim.refusal = "*** " + displayableLine(path) + " was written " + utcMinuteText(*written) +
                        ", not by a run of this minute: it is kept and nothing is written. "
                        "Write elsewhere with --outputDir DIR, or replace it with --overwrite ***";
        return claim;
    }
    claim.ok = true;
    return claim;
}

void releaseOutputNames() {
    unlockOutputStem();
}
