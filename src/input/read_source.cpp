// Reads a waypoint or area file of any format tavra knows, recognised from its bytes.
#include "input/read_source.h"

#include "input/csv_reader.h"
#include "input/document_readers.h"
#include "input/line_text.h"
#include "input/plain_reader.h"

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool isWhiteSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// The content from its first byte that is neither a byte-order mark nor white space.
std::string_view significantStart(std::string_view bytes) {
    if (bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        bytes.remove_prefix(kByteOrderMark.size());
    }
    std::size_t at = 0;
    while (at < bytes.size() && isWhiteSpace(bytes[at])) {
        ++at;
    }
    return bytes.substr(at);
}

// The local name of the root element, past the XML declaration, comments, processing
// instructions and a document type; empty where there is none. Only the root is looked
// at: the document itself is for the XML library.
std::string_view xmlRootName(std::string_view text) {
    for (;;) {
        text = significantStart(text);
        std::size_t skipTo = std::string_view::npos;
        std::size_t skipLength = 0;
        if (text.substr(0, 4) == "<!--") {
            skipTo = text.find("-->", 4);
            skipLength = 3;
        } else if (text.substr(0, 2) == "<?") {
            skipTo = text.find("?>", 2);
            skipLength = 2;
        } else if (text.substr(0, 2) == "<!") {
            // A document type may hold an internal subset in brackets, with '>' inside.
            int depth = 0;
            for (std::size_t at = 2; at < text.size(); ++at) {
                depth += text[at] == '[' ? 1 : text[at] == ']' ? -1 : 0;
                if (text[at] == '>' && depth <= 0) {
                    skipTo = at;
                    break;
                }
            }
            skipLength = 1;
        } else if (text.substr(0, 1) == "<") {
            std::size_t end = 1;
            while (end < text.size() && !isWhiteSpace(text[end]) && text[end] != '>' &&
                   text[end] != '/') {
                ++end;
            }
            std::string_view name = text.substr(1, end - 1);
            const std::size_t colon = name.rfind(':');
            return colon == std::string_view::npos ? name : name.substr(colon + 1);
        } else {
            return {};
        }
        if (skipTo == std::string_view::npos) {
            return {};
        }
        text.remove_prefix(skipTo + skipLength);
    }
}

// Vector formats GDAL reads that announce themselves in their first bytes: a shapefile's
// main file, GeoPackage and SpatiaLite (SQLite), FlatGeobuf. Recognised even in a build
// without GDAL, which then says so instead of reading them as lines of text.
bool startsLikeGisDatabase(std::string_view bytes) {
    constexpr std::string_view kShapefile("\x00\x00\x27\x0A", 4);
    constexpr std::string_view kSqlite("SQLite format 3\x00", 16);
    constexpr std::string_view kFlatGeobuf("fgb\x03", 4);
    return bytes.substr(0, 4) == kShapefile || bytes.substr(0, 16) == kSqlite ||
           bytes.substr(0, 4) == kFlatGeobuf;
}

} // namespace

SourceFormat detectFormat(const InputSource& source) {
    const std::string_view start = significantStart(source.bytes);
    if (!start.empty() && start.front() == '<') {
        const std::string_view root = xmlRootName(start);
        if (root == "gpx") {
            return SourceFormat::gpx;
        }
        if (root == "kml") {
            return SourceFormat::kml;
        }
    } else if (!start.empty() && (start.front() == '{' || start.front() == '[')) {
        return SourceFormat::geojson;
    } else if (findCsvHeader(source.bytes)) {
        return SourceFormat::csv;
    }
    // A file that begins with a position is the plain format whatever GDAL would make of
    // it, so that every file read so far is read as before.
    const std::optional<TextLine> first = firstSignificantLine(source.bytes);
    if (!first || (!first->tooLong && isPlainPosition(first->text))) {
        return SourceFormat::plain;
    }
    if (!source.path.empty() && gdalRecognises(source.path)) {
        return SourceFormat::gdal;
    }
    return startsLikeGisDatabase(source.bytes) ? SourceFormat::gdal : SourceFormat::plain;
}

DocumentResult readSource(const InputSource& source) {
    switch (detectFormat(source)) {
    case SourceFormat::csv:
        return readCsv(source.bytes, source.name);
    case SourceFormat::gpx:
        return readGpx(source.bytes, source.name);
    case SourceFormat::kml:
        return readKml(source.bytes, source.name);
    case SourceFormat::geojson: {
        // TopoJSON is JSON too. Its type stands first in the files written by the usual
        // tools, so asking first costs a few bytes.
        if (isTopoJson(source.bytes)) {
            return readTopoJson(source.bytes, source.name);
        }
        return readGeoJson(source.bytes, source.name);
    }
    case SourceFormat::gdal:
        return readWithGdal(source.path, source.name, source.bytes);
    case SourceFormat::plain:
        break;
    }
    return readPlain(source.bytes, source.name);
}
