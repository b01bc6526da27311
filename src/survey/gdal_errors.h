// GDAL's messages gathered while a scope lasts, so that GDAL never prints on its own.
#pragma once

#include <string>
#include <vector>

class GdalErrorScope {
  public:
    GdalErrorScope();
    ~GdalErrorScope();
    GdalErrorScope(const GdalErrorScope&) = delete;
    GdalErrorScope& operator=(const GdalErrorScope&) = delete;

    // Every message of the scope, joined with "; ", or "no reason given".
    std::string text() const;

  private:
    std::vector<std::string> messages_;
};
