// Claims the names of a run's files in their folder, so that no run destroys another's files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct OutputClaim {
    bool ok = false;
    std::string refusal; // one line, when not ok
};

// Waits for any other run that writes under the same stem in folder (empty: the current
// one), then looks at each of names there. A file last written since the start of the minute
// of runTime (seconds since 1970 UTC) comes from an earlier run of this same minute and may be
// replaced; any other existing file stops the run, unless overwrite. While the claim holds, no
// other run writes under the stem there; it holds until releaseOutputNames().
OutputClaim claimOutputNames(const std::string& folder, const std::string& stem,
                             const std::vector<std::string>& names, std::int64_t runTime,
                             bool overwrite);

// Ends the claim taken last, if any.
void releaseOutputNames();

// The path of a file name in folder (empty: the name alone).
std::string pathInFolder(const std::string& folder, const std::string& name);
