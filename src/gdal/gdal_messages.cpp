// Collects what GDAL says while tavra calls it, so that GDAL never prints on its own.
#include "gdal/gdal_messages.h"

#include "route/displayable_text.h"

#include <algorithm>

namespace {

// Long enough for a path and GDAL's reason; a message quoting a whole line of a binary file
// is cut.
constexpr std::size_t kMaxMessageCharacters = 240;

} // namespace

GdalMessages::GdalMessages() {
    CPLPushErrorHandlerEx(&GdalMessages::collect, this);
    // Debug output stays with GDAL's default (off): it is not a message for the planner.
    CPLSetCurrentErrorHandlerCatchDebug(FALSE);
}

GdalMessages::~GdalMessages() {
    CPLPopErrorHandler();
}

std::string GdalMessages::summary(const std::string& fallback) const {
    const std::vector<std::string>& texts = failureTexts.empty() ? warningTexts : failureTexts;
    if (texts.empty()) {
        return fallback;
    }
    // Each text once: PROJ says the same of every point it fails to transform.
    std::string joined;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (std::find(texts.begin(), texts.begin() + static_cast<std::ptrdiff_t>(i), texts[i]) ==
            texts.begin() + static_cast<std::ptrdiff_t>(i)) {
            joined += joined.empty() ? texts[i] : "; " + texts[i];
        }
    }
    return joined;
}

void GdalMessages::clear() {
    failureTexts.clear();
    warningTexts.clear();
}

void CPL_STDCALL GdalMessages::collect(CPLErr level, CPLErrorNum, const char* text) {
    auto* self = static_cast<GdalMessages*>(CPLGetErrorHandlerUserData());
    if (self == nullptr || text == nullptr) {
        return;
    }
    if (level == CE_Failure || level == CE_Fatal) {
        self->failureTexts.push_back(displayableText(text, kMaxMessageCharacters));
    } else if (level == CE_Warning) {
        self->warningTexts.push_back(displayableText(text, kMaxMessageCharacters));
    }
}
