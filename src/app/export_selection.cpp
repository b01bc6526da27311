// The formats asked for with --export.
#include "app/export_selection.h"

#include <cctype>
#include <string_view>

namespace {

constexpr const char* kChoices = " (choose from geojson, kml, gpx, html, lines-csv, all) ***\n";

std::string_view trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool sameName(std::string_view typed, std::string_view name) {
    if (typed.size() != name.size()) {
        return false;
    }
    for (std::size_t i = 0; i < typed.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(typed[i])) != name[i]) {
            return false;
        }
    }
    return true;
}

// The list is echoed in the refusal; control bytes would garble the console and a runaway
// argument would bury the message.
std::string shown(std::string_view text) {
    constexpr std::size_t kMaxBytes = 80;
    std::string result;
    for (const char c : text.substr(0, kMaxBytes)) {
        const auto byte = static_cast<unsigned char>(c);
        result += (byte < 0x20 || byte == 0x7f) ? '?' : c;
    }
    if (text.size() > kMaxBytes) {
        result += "...";
    }
    return result;
}

bool select(std::string_view name, ExportSelection& selection) {
    if (sameName(name, "all")) {
        // Every route format; the table of lines is asked for by name, as only a survey has one.
        selection.geojson = selection.kml = selection.gpx = selection.html = true;
    } else if (sameName(name, "geojson")) {
        selection.geojson = true;
    } else if (sameName(name, "kml")) {
        selection.kml = true;
    } else if (sameName(name, "gpx")) {
        selection.gpx = true;
    } else if (sameName(name, "html")) {
        selection.html = true;
    } else if (sameName(name, "lines-csv")) {
        selection.linesCsv = true;
    } else {
        return false;
    }
    return true;
}

} // namespace

ExportChoice parseExportList(const std::optional<std::string>& list) {
    ExportChoice choice;
    if (!list) {
        return choice;
    }
    std::string_view rest = *list;
    while (true) {
        const std::size_t comma = rest.find(',');
        const std::string_view name = trimmed(rest.substr(0, comma));
        if (name.empty()) {
            choice = {};
            choice.refusal = "*** MISSING EXPORT FORMAT IN \"" + shown(*list) + '"' + kChoices;
            return choice;
        }
        if (!select(name, choice.selection)) {
            choice = {};
            choice.refusal = "*** UNKNOWN EXPORT FORMAT \"" + shown(name) + '"' + kChoices;
            return choice;
        }
        if (comma == std::string_view::npos) {
            return choice;
        }
        rest.remove_prefix(comma + 1);
    }
}
