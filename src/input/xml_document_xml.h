// What the GPX and KML readers share: an XML document parsed by pugixml whose elements know
// their line in the file. Used only in builds with pugixml.
#pragma once

#include "input/document_text.h"
#include "input/source_document.h"

#include <cstdint>
#include <pugixml.hpp>
#include <string>
#include <string_view>

struct XmlDocument {
    pugi::xml_document document;
    std::string_view bytes;
    LineIndex lines;
    // pugixml converts a file in another encoding first; its offsets then no longer point
    // into the file, and positions are reported without lines.
    bool linesKnown = false;
};

// Parses bytes into xml; empty when it is well-formed XML, else the refusal naming the line
// where it breaks.
std::string loadXml(std::string_view bytes, std::string_view format, const std::string& fileName,
                    XmlDocument& xml);

// Parses bytes as a document of that format (e.g. "GPX") whose document element is root
// (e.g. "gpx"); false, with the refusal in result, where the bytes are not that.
bool loadXmlDocument(std::string_view bytes, std::string_view format, std::string_view root,
                     const std::string& fileName, XmlDocument& xml, DocumentResult& result);

// The 1-based line where node begins, 0 where it cannot be known.
std::uint64_t lineOf(const XmlDocument& xml, pugi::xml_node node);

// The element's name without its namespace prefix: "gx:Track" is "Track".
std::string_view localName(pugi::xml_node node);

// The first child element of that local name.
pugi::xml_node childNamed(pugi::xml_node node, std::string_view name);

// All the text inside an element, pieces split by comments or CDATA sections joined.
std::string elementText(pugi::xml_node node);

// The text of the first child element of that name, without blanks around it.
std::string childText(pugi::xml_node node, std::string_view name);
