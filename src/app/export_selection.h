// The formats asked for with --export, read from the option's comma-separated list.
#pragma once

#include <optional>
#include <string>

struct ExportSelection {
    bool geojson = false;
    bool kml = false;
    bool gpx = false;
    bool html = false;
    bool linesCsv =
        false; // the survey's lines as a table; "all" leaves it out, as it needs --survey
};

struct ExportChoice {
    ExportSelection selection;
    std::string refusal; // the message for the console when the list is refused, else empty
};

// Reads a list such as "geojson,kml" or "all". Names may stand in any case with blanks
// around them and may repeat; an empty or unknown name refuses the whole list. No list
// selects nothing.
ExportChoice parseExportList(const std::optional<std::string>& list);
