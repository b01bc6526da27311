// The legends of the preview's drawings.
#include "output/svg_legend.h"

#include "output/export_common.h"
#include "output/svg_text.h"

namespace {

// Room an entry's words take per character at the legend's size, and around an entry.
constexpr double kCharWidth = 7.0;
constexpr double kSymbolWidth = 32.0;
constexpr double kGap = 22.0;
constexpr double kRowHeight = 22.0;

} // namespace

void SvgLegend::add(const std::string& words, const LegendSymbol& symbol) {
    const double width = kSymbolWidth + kCharWidth * static_cast<double>(words.size());
    if (x_ > left_ && x_ + width > right_) {
        x_ = left_;
        y_ += kRowHeight;
    }
    symbol(text_, x_, y_);
    text_ += "<text x=\"";
    appendPixels(text_, x_ + kSymbolWidth);
    text_ += "\" y=\"";
    appendPixels(text_, y_ + 5.0);
    text_ += "\">";
    appendXmlEscaped(text_, words);
    text_ += "</text>";
    x_ += width + kGap;
}

LegendSymbol legendBox(const char* element) {
    return [element](std::string& text, double x, double y) {
        appendRect(text, element, x, y - 7.0, x + 24.0, y + 7.0);
    };
}

LegendSymbol legendLine(const char* element) {
    return [element](std::string& text, double x, double y) {
        text += "<path class=\"";
        text += element;
        text += "\" d=\"M";
        appendXY(text, x, y);
        text += " H";
        appendPixels(text, x + 24.0);
        text += "\"/>";
    };
}

LegendSymbol legendLineNumber() {
    return [](std::string& text, double x, double y) {
        text += "<path class=\"route\" d=\"M";
        appendXY(text, x, y + 3.0);
        text += " H";
        appendPixels(text, x + 24.0);
        text += "\"/><text class=\"linenumber\" x=\"";
        appendPixels(text, x + 12.0);
        text += "\" y=\"";
        appendPixels(text, y);
        text += "\">7</text>";
    };
}
