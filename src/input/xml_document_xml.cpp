// XML parsed by pugixml, with the line of every element for messages.
#include "input/xml_document_xml.h"

#include <algorithm>
#include <cstdio>

namespace {

// What pugixml takes for each node (an element, a text) and each attribute on a 64-bit
// machine, and the most tavra lets it take for a file: six times the file, beside the file
// itself and pugixml's copy of it, and 16 MiB. A track point of short numbers,
// <trkpt lat="1" lon="2"/>, takes six times its bytes; a real file less.
constexpr std::size_t kNodeBytes = 64;
constexpr std::size_t kAttributeBytes = 40;
constexpr std::size_t kTreeBytesPerByte = 6;
constexpr std::size_t kTreeBytesBeyond = std::size_t{16} << 20;

// The most the tree of the bytes can take: a node for each element (a '<' that does not
// close one, begin a comment or declaration, or is a CDATA section's), for each text (a
// '>' followed by anything but blanks before the next '<'), and for the document; an
// attribute for each '='.
std::size_t treeBytesAtMost(std::string_view bytes) {
    std::size_t nodes = 1;
    std::size_t equals = 0;
    bool textMayFollow = false;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '<') {
            const std::string_view next = bytes.substr(i + 1, 2);
            nodes +=
                next.empty() || (next[0] != '/' && next[0] != '!' && next[0] != '?') || next == "!["
                    ? 1
                    : 0;
            textMayFollow = false;
        } else if (c == '>') {
            textMayFollow = true;
        } else if (c == '=') {
            ++equals;
        } else if (textMayFollow && c != ' ' && c != '\t' && c != '\r' && c != '\n') {
            ++nodes;
            textMayFollow = false;
        }
    }
    return nodes * kNodeBytes + equals * kAttributeBytes;
}

std::string megabytes(std::size_t bytes) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f MB", static_cast<double>(bytes) / 1e6);
    return text;
}

} // namespace

std::string loadXml(std::string_view bytes, std::string_view format, const std::string& fileName,
                    XmlDocument& xml) {
    xml.bytes = bytes;
    // pugixml holds a node for every element, used or not: a file of nothing but empty
    // elements would take 16 times its size. Such a file is refused before it is parsed.
    const std::size_t tree = treeBytesAtMost(bytes);
    if (tree > kTreeBytesPerByte * bytes.size() + kTreeBytesBeyond) {
        return documentRefusal(format, fileName, 0, "",
                               "its markup is too dense to hold: " + megabytes(bytes.size()) +
                                   " of XML would take up to " + megabytes(tree) +
                                   " in memory, more than six times its size and 16 MiB");
    }
    xml.lines = indexLines(bytes);
    // Line ends are kept as the file has them, so that counting them in a text counts the
    // file's lines: pugixml would make a lone CR a line end of its own.
    const pugi::xml_parse_result parsed = xml.document.load_buffer(
        bytes.data(), bytes.size(), pugi::parse_default & ~pugi::parse_eol, pugi::encoding_auto);
    xml.linesKnown = parsed.encoding == pugi::encoding_utf8;
    if (parsed) {
        return "";
    }
    std::uint64_t line = 0;
    std::string text;
    if (xml.linesKnown && parsed.offset >= 0) {
        line = lineAt(xml.lines, static_cast<std::size_t>(parsed.offset));
        text = trimmedText(lineText(bytes, xml.lines, line));
    }
    return documentRefusal(format, fileName, line, text,
                           std::string("not well-formed XML: ") + parsed.description());
}

bool loadXmlDocument(std::string_view bytes, std::string_view format, std::string_view root,
                     const std::string& fileName, XmlDocument& xml, DocumentResult& result) {
    result.document.format = std::string(format);
    result.error = loadXml(bytes, format, fileName, xml);
    const pugi::xml_node element = xml.document.document_element();
    if (result.error.empty() && localName(element) != root) {
        result.error = documentRefusal(format, fileName, lineOf(xml, element), element.name(),
                                       "the document element of a " + std::string(format) +
                                           " file is " + std::string(root));
    }
    result.ok = result.error.empty();
    return result.ok;
}

std::uint64_t lineOf(const XmlDocument& xml, pugi::xml_node node) {
    const std::ptrdiff_t offset = node.offset_debug();
    if (!xml.linesKnown || offset < 0) {
        return 0;
    }
    return lineAt(xml.lines, static_cast<std::size_t>(offset));
}

std::string_view localName(pugi::xml_node node) {
    const std::string_view name = node.name();
    const std::size_t colon = name.rfind(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

pugi::xml_node childNamed(pugi::xml_node node, std::string_view name) {
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
        if (child.type() == pugi::node_element && localName(child) == name) {
            return child;
        }
    }
    return {};
}

std::string elementText(pugi::xml_node node) {
    std::string text;
    for (pugi::xml_node piece = node.first_child(); piece; piece = piece.next_sibling()) {
        if (piece.type() == pugi::node_pcdata || piece.type() == pugi::node_cdata) {
            text += piece.value();
        }
    }
    return text;
}

std::string childText(pugi::xml_node node, std::string_view name) {
    return std::string(trimmedText(elementText(childNamed(node, name))));
}
