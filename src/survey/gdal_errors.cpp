// GDAL's messages gathered while a scope lasts.
#include "survey/gdal_errors.h"

#include <cpl_error.h>

namespace {

void gather(CPLErr, CPLErrorNum, const char* message) {
    auto* messages = static_cast<std::vector<std::string>*>(CPLGetErrorHandlerUserData());
    messages->emplace_back(message != nullptr ? message : "");
}

} // namespace

GdalErrorScope::GdalErrorScope() {
    CPLPushErrorHandlerEx(gather, &messages_);
}

GdalErrorScope::~GdalErrorScope() {
    CPLPopErrorHandler();
}

std::string GdalErrorScope::text() const {
    std::string joined;
    for (const std::string& message : messages_) {
        joined += (joined.empty() ? "" : "; ") + message;
    }
    return joined.empty() ? "no reason given" : joined;
}
