// Collects what GDAL says while tavra calls it, so that GDAL never prints on its own.
#pragma once

#include <cpl_error.h>
#include <string>
#include <vector>

// Pushed on construction and popped on destruction: hold one around each call into GDAL
// whose messages belong to one question ("can this grid be read?"). The texts are kept
// as a console can show them: GDAL quotes file content, control bytes and all.
class GdalMessages {
  public:
    GdalMessages();
    ~GdalMessages();
    GdalMessages(const GdalMessages&) = delete;
    GdalMessages& operator=(const GdalMessages&) = delete;

    // GDAL's failures, and its warnings apart, in the order it gave them.
    const std::vector<std::string>& failures() const { return failureTexts; }
    const std::vector<std::string>& warnings() const { return warningTexts; }

    // The failures joined by "; ", each once, or else the warnings, or else the fallback.
    std::string summary(const std::string& fallback) const;

    void clear();

  private:
    static void CPL_STDCALL collect(CPLErr level, CPLErrorNum number, const char* text);

    std::vector<std::string> failureTexts;
    std::vector<std::string> warningTexts;
};
