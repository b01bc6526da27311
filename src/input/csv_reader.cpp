// CSV with a header: positions from the latitude and longitude columns, refused strictly.
#include "input/csv_reader.h"

#include "input/degrees_minutes.h"
#include "input/line_text.h"
#include "input/strict_number.h"

#include <algorithm>
#include <utility>

namespace {

constexpr char kSeparators[] = {'\t', ';', ','};

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlankCharacter(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlankCharacter(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::string lowerCase(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lower;
}

bool namesLatitude(const std::string& name) {
    return name == "lat" || name == "latitude";
}

bool namesLongitude(const std::string& name) {
    return name == "lon" || name == "long" || name == "lng" || name == "longitude";
}

// A run of text: where a record begins and how it ends.
struct CsvCursor {
    std::size_t at = 0;
    std::uint64_t line = 1;
};

struct CsvRecord {
    std::vector<std::string> cells;
    std::string_view firstLineText; // for messages about the whole row
    std::uint64_t firstLine = 0;
    std::uint64_t lastLine = 0;
    bool unclosedQuote = false;
};

// One record from cursor: cells up to a line end outside quotes. Text after a closing
// quote is kept as written, as spreadsheets do.
CsvRecord readRecord(std::string_view bytes, CsvCursor& cursor, char separator) {
    CsvRecord record;
    record.firstLine = cursor.line;
    const std::size_t lineEnd = std::min(bytes.find('\n', cursor.at), bytes.size());
    record.firstLineText = bytes.substr(cursor.at, lineEnd - cursor.at);
    if (!record.firstLineText.empty() && record.firstLineText.back() == '\r') {
        record.firstLineText.remove_suffix(1);
    }
    std::string cell;
    bool quoted = false;
    bool cellStart = true;
    std::size_t at = cursor.at;
    for (; at < bytes.size(); ++at) {
        const char c = bytes[at];
        if (quoted) {
            if (c == '"') {
                if (at + 1 < bytes.size() && bytes[at + 1] == '"') {
                    cell += '"';
                    ++at;
                } else {
                    quoted = false;
                }
            } else {
                cell += c;
                cursor.line += c == '\n' ? 1 : 0;
            }
            continue;
        }
        if (c == '\n') {
            break;
        }
        if (c == separator) {
            record.cells.push_back(std::move(cell));
            cell.clear();
            cellStart = true;
            continue;
        }
        // A quote opens a quoted cell where it is the cell's first character but blanks.
        if (c == '"' && cellStart) {
            quoted = true;
            cell.clear();
            cellStart = false;
            continue;
        }
        cell += c;
        cellStart = cellStart && isBlankCharacter(c);
    }
    if (!cell.empty() && cell.back() == '\r' && !quoted) {
        cell.pop_back();
    }
    record.cells.push_back(std::move(cell));
    record.unclosedQuote = quoted;
    record.lastLine = cursor.line;
    cursor.at = at < bytes.size() ? at + 1 : bytes.size();
    ++cursor.line;
    return record;
}

std::vector<std::string> splitHeader(std::string_view line, char separator) {
    CsvCursor cursor;
    return readRecord(line, cursor, separator).cells;
}

std::string refusal(const std::string& fileName, std::uint64_t line, std::string_view text,
                    const std::string& why) {
    return "*** BAD CSV FILE *** " + fileName + " line " + std::to_string(line) + ": \"" +
           displayableLine(text) + "\" (" + why + ")";
}

std::string_view lineText(std::string_view bytes, std::uint64_t number) {
    LineCursor cursor;
    TextLine line;
    while (nextLine(bytes, cursor, line)) {
        if (line.number == number) {
            return line.text;
        }
    }
    return {};
}

struct CellValue {
    bool ok = false;
    double value = 0.0;
    bool lettered = false;
    std::string problem;
};

CellValue readCell(std::string cell, CoordinateAxis axis, char separator) {
    const char* name = axis == CoordinateAxis::latitude ? "latitude" : "longitude";
    CellValue result;
    cell = std::string(trimmed(cell));
    // A spreadsheet set to a decimal comma writes it where the separator leaves it free.
    if (separator != ',' && std::count(cell.begin(), cell.end(), ',') == 1 &&
        cell.find('.') == std::string::npos) {
        std::replace(cell.begin(), cell.end(), ',', '.');
    }
    if (cell.empty()) {
        result.problem = std::string("the ") + name + " cell is empty";
        return result;
    }
    if (readStrictNumber(cell, result.value)) {
        const double limit = axis == CoordinateAxis::latitude ? 90.0 : 180.0;
        if (!(result.value >= -limit && result.value <= limit)) {
            result.problem = std::string(name) + " outside " +
                             (axis == CoordinateAxis::latitude ? "-90..90" : "-180..180");
            return result;
        }
        result.ok = true;
        return result;
    }
    const DegreesCoordinate degrees = readDegreesCoordinate(cell, axis);
    if (!degrees.ok) {
        result.problem = degrees.problem;
        return result;
    }
    result.ok = true;
    result.value = degrees.value;
    result.lettered = degrees.lettered;
    return result;
}

bool allEmpty(const std::vector<std::string>& cells) {
    return std::all_of(cells.begin(), cells.end(),
                       [](const std::string& cell) { return trimmed(cell).empty(); });
}

std::optional<std::uint64_t> firstLongLine(std::string_view bytes) {
    LineCursor cursor;
    TextLine line;
    while (nextLine(bytes, cursor, line)) {
        if (line.tooLong) {
            return line.number;
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<CsvHeader> findCsvHeader(std::string_view bytes) {
    const std::optional<TextLine> line = firstSignificantLine(bytes);
    if (!line || line->tooLong) {
        return std::nullopt;
    }
    for (char separator : kSeparators) {
        CsvHeader header;
        header.separator = separator;
        header.line = line->number;
        const std::vector<std::string> names = splitHeader(line->text, separator);
        for (std::size_t column = 0; column < names.size(); ++column) {
            const std::string name = lowerCase(trimmed(names[column]));
            if (namesLatitude(name)) {
                header.latitudeColumns.push_back(column);
            } else if (namesLongitude(name)) {
                header.longitudeColumns.push_back(column);
            }
        }
        if (!header.latitudeColumns.empty() && !header.longitudeColumns.empty()) {
            return header;
        }
    }
    return std::nullopt;
}

DocumentResult readCsv(std::string_view bytes, const std::string& fileName) {
    DocumentResult result;
    result.document.format = "CSV";
    auto refuse = [&](std::uint64_t line, std::string_view text, const std::string& why) {
        result.ok = false;
        result.error = refusal(fileName, line, text, why);
        result.document = SourceDocument{};
        return result;
    };
    const std::optional<std::uint64_t> longLine = firstLongLine(bytes);
    const std::optional<CsvHeader> header = findCsvHeader(bytes);
    if (!header) {
        if (longLine) {
            return refuse(*longLine, lineText(bytes, *longLine), "a line longer than 1 MiB");
        }
        const std::optional<TextLine> first = firstSignificantLine(bytes);
        return refuse(first ? first->number : 1, first ? first->text : std::string_view(),
                      "expected a header naming a latitude and a longitude column");
    }
    if (header->latitudeColumns.size() > 1 || header->longitudeColumns.size() > 1) {
        const bool latitude = header->latitudeColumns.size() > 1;
        const std::vector<std::size_t>& columns =
            latitude ? header->latitudeColumns : header->longitudeColumns;
        return refuse(header->line, lineText(bytes, header->line),
                      std::string("more than one ") + (latitude ? "latitude" : "longitude") +
                          " column: " + std::to_string(columns[0] + 1) + " and " +
                          std::to_string(columns[1] + 1));
    }
    const std::size_t latColumn = header->latitudeColumns.front();
    const std::size_t lonColumn = header->longitudeColumns.front();

    SourceFeature route;
    route.shape = FeatureShape::route;
    route.kind = "CSV table";
    // The rows begin on the line after the header.
    LineCursor lines;
    TextLine line;
    bool more = true;
    while (more && lines.number < header->line) {
        more = nextLine(bytes, lines, line);
    }
    CsvCursor cursor{lines.next, header->line + 1};
    while (cursor.at < bytes.size()) {
        const CsvRecord record = readRecord(bytes, cursor, header->separator);
        if (longLine && record.lastLine >= *longLine) {
            return refuse(*longLine, lineText(bytes, *longLine), "a line longer than 1 MiB");
        }
        const std::string_view rowText = record.firstLineText;
        if (record.unclosedQuote) {
            return refuse(record.firstLine, rowText, "a quoted cell without its closing quote");
        }
        if (allEmpty(record.cells)) {
            continue;
        }
        CellValue values[2];
        const std::size_t columns[2] = {latColumn, lonColumn};
        const CoordinateAxis axes[2] = {CoordinateAxis::latitude, CoordinateAxis::longitude};
        for (int k = 0; k < 2; ++k) {
            if (columns[k] >= record.cells.size()) {
                return refuse(record.firstLine, rowText,
                              std::string("no ") + (k == 0 ? "latitude" : "longitude") +
                                  " cell: the row has " + std::to_string(record.cells.size()) +
                                  ", the header names column " + std::to_string(columns[k] + 1));
            }
            values[k] = readCell(record.cells[columns[k]], axes[k], header->separator);
            if (!values[k].ok) {
                const std::string_view cell = trimmed(record.cells[columns[k]]);
                return refuse(record.firstLine, cell.empty() ? rowText : cell, values[k].problem);
            }
        }
        if (values[0].lettered != values[1].lettered) {
            return refuse(record.firstLine, rowText, "a hemisphere letter on one coordinate only");
        }
        if (route.points.empty()) {
            route.line = record.firstLine;
        }
        route.points.push_back(SourcePoint{values[0].value, values[1].value, record.firstLine});
    }
    result.document.features.push_back(std::move(route));
    return result;
}
