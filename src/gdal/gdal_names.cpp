// How GDAL would take a name it is handed, from the text of the name alone.
#include "gdal/gdal_names.h"

#include "route/displayable_text.h"

#include <cctype>

namespace {

constexpr std::size_t kMaxShownCharacters = 40;

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) {
            return false;
        }
    }
    return true;
}

bool isPrefixCharacter(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_' || c == '-' || c == ' ';
}

} // namespace

std::string_view connectionPrefix(std::string_view name) {
    const std::size_t colon = name.find(':');
    return colon == std::string_view::npos ? std::string_view() : name.substr(0, colon);
}

GdalNameKind classifyGdalName(std::string_view name) {
    // GDAL takes a NUL as the end of the name, and opens nothing for an empty one.
    if (name.empty() || name.find('\0') != std::string_view::npos) {
        return GdalNameKind::connection;
    }
    if (startsWithNoCase(name, "/vsi") || startsWithNoCase(name, "\\vsi")) {
        return GdalNameKind::virtualFile;
    }
    if (name.find("://") != std::string_view::npos) {
        return GdalNameKind::url;
    }
    const std::string_view prefix = connectionPrefix(name);
    bool looksLikePrefix = !prefix.empty() || name.front() == ':';
    for (char c : prefix) {
        looksLikePrefix = looksLikePrefix && isPrefixCharacter(c);
    }
    // A single letter before the colon and a separator after it is a Windows drive.
    const bool drive = prefix.size() == 1 && name.size() > 2 && (name[2] == '/' || name[2] == '\\');
    return looksLikePrefix && !drive ? GdalNameKind::connection : GdalNameKind::file;
}

std::string gdalNameRefusal(std::string_view name) {
    switch (classifyGdalName(name)) {
    case GdalNameKind::file:
        return "";
    case GdalNameKind::virtualFile:
        return "a GDAL virtual file name (/vsi...), not a file on disk; tavra opens files on disk "
               "only";
    case GdalNameKind::url:
        return "a URL, not a file on disk; tavra reads nothing over the network";
    case GdalNameKind::connection:
        break;
    }
    const std::string_view prefix = connectionPrefix(name);
    if (prefix.empty()) {
        return "not a file name";
    }
    return "a GDAL connection string (" + displayableText(prefix, kMaxShownCharacters) +
           ":), not a file on disk; tavra connects to no database or server";
}
