// What the sea layer measured along a planned route: the parts of a leg its samples stand
// for, and the seabed under a leg in two figures.
#include "route/sea_survey.h"

#include <algorithm>
#include <limits>

LegStretch sampleSpan(const std::vector<DepthSample>& samples, std::size_t index) {
    const double start = index == 0 ? samples[index].alongLeg
                                    : (samples[index - 1].alongLeg + samples[index].alongLeg) / 2.0;
    const double end = index + 1 == samples.size()
                           ? samples[index].alongLeg
                           : (samples[index].alongLeg + samples[index + 1].alongLeg) / 2.0;
    return {start, end};
}

SeabedSummary summarizeSeabed(const LegSeabed& seabed) {
    SeabedSummary summary;
    summary.shallowest = std::numeric_limits<double>::quiet_NaN();
    for (std::size_t i = 0; i < seabed.samples.size(); ++i) {
        const DepthSample& sample = seabed.samples[i];
        if (sample.state != DepthState::known) {
            const LegStretch span = sampleSpan(seabed.samples, i);
            summary.unknownLength += span.end - span.start;
        } else if (!summary.anyKnown || sample.shallowest < summary.shallowest) {
            summary.shallowest = sample.shallowest;
            summary.anyKnown = true;
        }
    }
    return summary;
}
