// CSV with a header, as spreadsheets and GIS programs export positions: the latitude and
// longitude columns found by name, every other column ignored.
#pragma once

#include "input/source_document.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct CsvHeader {
    char separator = ',';                     // ',', ';' or tab
    std::uint64_t line = 0;                   // 1-based
    std::vector<std::size_t> latitudeColumns; // 0-based; one unless the header repeats it
    std::vector<std::size_t> longitudeColumns;
};

// The first line that is neither blank nor a '#' comment, when it names a latitude column
// (lat, latitude) and a longitude column (lon, long, lng, longitude), in any case, with
// the separator that makes it do so.
std::optional<CsvHeader> findCsvHeader(std::string_view bytes);

// Every row after the header is a position, in file order; rows whose cells are all empty
// are skipped. Cells are RFC 4180: a quoted cell may hold separators, doubled quotes and
// line ends. Values are decimal degrees (with a decimal comma where the separator is not
// a comma) or degrees and minutes; each must be a number within -90..90 or -180..180.
DocumentResult readCsv(std::string_view bytes, const std::string& fileName);
