// The legends of the preview's drawings: entries of a symbol and its words, left to right,
// on as many rows as the width allows.
#pragma once

#include <functional>
#include <string>

// Draws an entry's symbol 24 units wide, from x, centred on y.
using LegendSymbol = std::function<void(std::string& text, double x, double y)>;

class SvgLegend {
  public:
    // Entries start at (left, top) and wrap before right.
    SvgLegend(double left, double top, double right)
        : left_(left), right_(right), x_(left), y_(top) {}

    void add(const std::string& words, const LegendSymbol& symbol);

    // The entries as one group of class "legend".
    std::string group() const { return "<g class=\"legend\">" + text_ + "</g>\n"; }

  private:
    double left_;
    double right_;
    double x_;
    double y_;
    std::string text_;
};

// A box or a short line of the class the drawing gives the thing it stands for.
LegendSymbol legendBox(const char* element);
LegendSymbol legendLine(const char* element);
// A route line with a survey line's number over it.
LegendSymbol legendLineNumber();
