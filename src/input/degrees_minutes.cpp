// Positions in degrees, minutes and seconds: the spellings of charts and plotters, and the
// refusals that keep a misread position off the route.
#include "input/degrees_minutes.h"

#include "input/line_text.h"
#include "input/strict_number.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace {

enum class TokenKind { number, degreeMark, minuteMark, secondMark, colon, dash, letter };

struct Token {
    TokenKind kind = TokenKind::number;
    std::size_t begin = 0; // in the text
    std::size_t end = 0;
    // A number: its sign, whole digits and fraction digits as written.
    bool sign = false;
    bool negative = false;
    std::string_view whole;
    std::string_view fraction;
    bool point = false;
    bool exponent = false;
    char letter = 0; // N, S, E or W
};

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

char hemisphereLetter(char c) {
    switch (c) {
    case 'N':
    case 'n':
        return 'N';
    case 'S':
    case 's':
        return 'S';
    case 'E':
    case 'e':
        return 'E';
    case 'W':
    case 'w':
        return 'W';
    default:
        return 0;
    }
}

CoordinateAxis axisOf(char letter) {
    return letter == 'N' || letter == 'S' ? CoordinateAxis::latitude : CoordinateAxis::longitude;
}

bool startsNumber(std::string_view text, std::size_t at) {
    auto digitAt = [&](std::size_t i) { return i < text.size() && isDigit(text[i]); };
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        ++at;
    }
    return digitAt(at) || (at < text.size() && text[at] == '.' && digitAt(at + 1));
}

std::size_t digitsFrom(std::string_view text, std::size_t at) {
    std::size_t end = at;
    while (end < text.size() && isDigit(text[end])) {
        ++end;
    }
    return end;
}

Token scanNumber(std::string_view text, std::size_t at) {
    Token token;
    token.begin = at;
    if (text[at] == '+' || text[at] == '-') {
        token.sign = true;
        token.negative = text[at] == '-';
        ++at;
    }
    std::size_t end = digitsFrom(text, at);
    token.whole = text.substr(at, end - at);
    at = end;
    if (at < text.size() && text[at] == '.') {
        token.point = true;
        end = digitsFrom(text, at + 1);
        token.fraction = text.substr(at + 1, end - at - 1);
        at = end;
    }
    // An exponent makes it a number of the plain format ("1e5"); "57.3E" is a letter.
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        std::size_t digits = at + 1;
        if (digits < text.size() && (text[digits] == '+' || text[digits] == '-')) {
            ++digits;
        }
        if (digits < text.size() && isDigit(text[digits])) {
            token.exponent = true;
            at = digitsFrom(text, digits);
        }
    }
    token.end = at;
    return token;
}

// A letter is a hemisphere only where it is no word and no abbreviation: "N", "36N",
// "N36", "W." but not "North", "N/A" or "S-curve".
bool standsAlone(std::string_view text, std::size_t after) {
    if (after == text.size()) {
        return true;
    }
    const char next = text[after];
    if (next == '+' || next == '-') {
        return after + 1 < text.size() && (isDigit(text[after + 1]) || text[after + 1] == '.');
    }
    return !isLetter(next) && next != '/' && next != '_';
}

// The marks, each as its bytes in UTF-8 or ASCII.
struct Mark {
    std::string_view spelling;
    TokenKind kind;
};
constexpr Mark kMarks[] = {
    {"\xC2\xB0", TokenKind::degreeMark},
    {"\xC2\xBA", TokenKind::degreeMark},
    {"'", TokenKind::minuteMark},
    {"\xE2\x80\xB2", TokenKind::minuteMark},
    {"\"", TokenKind::secondMark},
    {"\xE2\x80\xB3", TokenKind::secondMark},
    {":", TokenKind::colon},
};

// The tokens from the start of text up to the first byte that is none of them; returns
// where that byte is.
std::size_t scanTokens(std::string_view text, std::vector<Token>& tokens) {
    std::size_t at = 0;
    for (;;) {
        while (at < text.size() && isBlankCharacter(text[at])) {
            ++at;
        }
        if (at == text.size()) {
            return at;
        }
        const bool afterNumber =
            !tokens.empty() && tokens.back().kind == TokenKind::number && tokens.back().end == at;
        const char c = text[at];
        Token token;
        token.begin = at;
        if (c == '-' && afterNumber && at + 1 < text.size() && isDigit(text[at + 1])) {
            token.kind = TokenKind::dash;
            token.end = at + 1;
        } else if (startsNumber(text, at)) {
            token = scanNumber(text, at);
        } else if (c == 'd' && afterNumber && (at + 1 == text.size() || !isLetter(text[at + 1]))) {
            token.kind = TokenKind::degreeMark;
            token.end = at + 1;
        } else if (hemisphereLetter(c) != 0 && standsAlone(text, at + 1)) {
            token.kind = TokenKind::letter;
            token.letter = hemisphereLetter(c);
            token.end = at + 1;
        } else {
            bool marked = false;
            for (const Mark& mark : kMarks) {
                if (text.substr(at, mark.spelling.size()) == mark.spelling) {
                    token.kind = mark.kind;
                    token.end = at + mark.spelling.size();
                    marked = true;
                    break;
                }
            }
            if (!marked) {
                return at;
            }
        }
        tokens.push_back(token);
        at = token.end;
    }
}

bool isUnitMark(TokenKind kind) {
    return kind == TokenKind::degreeMark || kind == TokenKind::minuteMark ||
           kind == TokenKind::secondMark;
}

// One coordinate as written: its parts, sign, letter and how they were joined.
struct Coordinate {
    std::vector<const Token*> parts; // degrees, minutes, seconds
    bool sign = false;
    bool negative = false;
    char letter = 0;
    bool marked = false; // a unit mark or colon between its parts
    bool dashed = false; // DD-MM
    bool joined = false; // parts joined by a colon or a dash, which a blank ends
};

struct CoordinateParse {
    std::optional<Coordinate> coordinate;
    std::string problem;
    std::size_t next = 0; // the first token not taken
    bool marked = false;  // marks among the tokens taken, also when refused
};

std::string partName(std::size_t rank) {
    return rank == 0 ? "degrees" : rank == 1 ? "minutes" : "seconds";
}

std::string numberText(std::string_view text, const Token& token) {
    return std::string(text.substr(token.begin, token.end - token.begin));
}

// Parses the numbers of tokens[begin, end) as one coordinate. Bounded, every token must
// belong to it; open, it ends before the first number that cannot (a sign, a degree mark,
// a part after a fraction or after seconds, a blank after parts joined by colons or a
// dash, as in "36:48 121:57").
CoordinateParse parseCoordinate(const std::vector<Token>& tokens, std::size_t begin,
                                std::size_t end, bool bounded) {
    CoordinateParse result;
    Coordinate c;
    std::size_t i = begin;
    auto refuse = [&](std::string problem) {
        result.problem = std::move(problem);
        result.next = i;
        result.marked = c.marked;
        return result;
    };
    if (i == end || tokens[i].kind != TokenKind::number) {
        return refuse("expected degrees");
    }
    bool joined = false; // this part follows a colon or dash
    for (;;) {
        const Token& number = tokens[i];
        const std::size_t rank = c.parts.size();
        if (rank > 0 && !joined) {
            const Token& last = *c.parts.back();
            const bool degreeMarkFollows =
                i + 1 < end && tokens[i + 1].kind == TokenKind::degreeMark;
            const bool startsAnother =
                number.sign || last.point || rank == 3 || degreeMarkFollows || c.joined;
            if (startsAnother && !bounded) {
                break;
            }
        }
        if (number.exponent) {
            return refuse("an exponent in degrees and minutes");
        }
        if (rank == 3) {
            return refuse("more than degrees, minutes and seconds");
        }
        if (rank > 0 && number.sign) {
            return refuse("a sign before the " + partName(rank));
        }
        if (rank > 0 && c.parts.back()->point) {
            return refuse("a fraction before the last part: only the last of degrees, minutes "
                          "and seconds may have one");
        }
        if (rank == 0) {
            c.sign = number.sign;
            c.negative = number.negative;
        }
        c.parts.push_back(&number);
        ++i;
        joined = false;
        if (i < end && isUnitMark(tokens[i].kind)) {
            const TokenKind expected = rank == 0   ? TokenKind::degreeMark
                                       : rank == 1 ? TokenKind::minuteMark
                                                   : TokenKind::secondMark;
            if (tokens[i].kind != expected) {
                return refuse("marks out of order: degrees take \xC2\xB0, minutes ', seconds \"");
            }
            c.marked = true;
            ++i;
        }
        if (i == end) {
            break;
        }
        if (tokens[i].kind == TokenKind::colon || tokens[i].kind == TokenKind::dash) {
            if (tokens[i].kind == TokenKind::colon) {
                c.marked = true;
            } else {
                c.dashed = true;
            }
            c.joined = true;
            ++i;
            if (i == end || tokens[i].kind != TokenKind::number) {
                return refuse("a number must follow ':' or '-'");
            }
            joined = true;
            continue;
        }
        if (tokens[i].kind != TokenKind::number) {
            if (bounded) {
                return refuse("marks out of order: degrees take \xC2\xB0, minutes ', seconds \"");
            }
            break;
        }
    }
    result.coordinate = c;
    result.next = i;
    result.marked = c.marked;
    return result;
}

// The digits as a whole number, or nothing where there are more than maxDigits of them
// past leading zeros.
std::optional<std::uint64_t> digitsValue(std::string_view digits, std::size_t maxDigits) {
    while (!digits.empty() && digits.front() == '0') {
        digits.remove_prefix(1);
    }
    if (digits.size() > maxDigits) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    for (char d : digits) {
        value = value * 10 + static_cast<std::uint64_t>(d - '0');
    }
    return value;
}

// The part without its sign; digits too many for a double are more than any coordinate,
// never 0.
double partValue(std::string_view text, const Token& token) {
    double value = 0.0;
    const std::string_view unsignedText = text.substr(
        token.begin + (token.sign ? 1 : 0), token.end - token.begin - (token.sign ? 1 : 0));
    return readStrictNumber(unsignedText, value) ? value : HUGE_VAL;
}

struct Magnitude {
    double value = 0.0;  // without the sign
    bool beyond = false; // above the axis's limit, judged on the exact value
};

// Degrees + minutes / 60 + seconds / 3600, without the sign. Where the digits allow, the
// sum is made exactly in whole units of the last part's last digit and divided once, so
// that 36 48.9 is the double nearest to 36.815, as the decimal text "36.815" reads.
Magnitude magnitude(std::string_view text, const Coordinate& c, double limit) {
    Magnitude result;
    const std::size_t parts = c.parts.size();
    if (parts == 1) {
        result.value = partValue(text, *c.parts[0]);
        result.beyond = result.value > limit;
        return result;
    }
    const Token& last = *c.parts.back();
    std::string_view fraction = last.fraction;
    while (!fraction.empty() && fraction.back() == '0') {
        fraction.remove_suffix(1);
    }
    constexpr std::size_t kExactFractionDigits = 10;
    std::uint64_t scale = 1;
    for (std::size_t k = 0; k < fraction.size() && k < kExactFractionDigits; ++k) {
        scale *= 10;
    }
    // Degrees within the limit, minutes and seconds below 60 and ten fraction digits keep
    // the sum below 2^53, where every whole number is a double.
    const std::optional<std::uint64_t> degrees = digitsValue(c.parts[0]->whole, 3);
    if (fraction.size() <= kExactFractionDigits && degrees && *degrees <= limit) {
        std::uint64_t numerator = 0;
        std::uint64_t unit = 1; // units of the last part in one of part k
        for (std::size_t k = parts; k-- > 0;) {
            numerator += *digitsValue(c.parts[k]->whole, 3) * unit * scale;
            if (k > 0) {
                unit *= 60;
            }
        }
        numerator += *digitsValue(fraction, kExactFractionDigits);
        const std::uint64_t denominator = unit * scale;
        result.value = static_cast<double>(numerator) / static_cast<double>(denominator);
        result.beyond = numerator > static_cast<std::uint64_t>(limit) * denominator;
        return result;
    }
    double value = 0.0;
    double divisor = 1.0;
    for (std::size_t k = 0; k < parts; ++k) {
        value += partValue(text, *c.parts[k]) / divisor;
        divisor *= 60.0;
    }
    result.value = value;
    result.beyond = value > limit;
    return result;
}

std::optional<std::string> partProblem(std::string_view text, const Coordinate& c) {
    for (std::size_t rank = 1; rank < c.parts.size(); ++rank) {
        if (partValue(text, *c.parts[rank]) >= 60.0) {
            return partName(rank) + " must be below 60, not " + numberText(text, *c.parts[rank]);
        }
    }
    return std::nullopt;
}

const char* axisName(CoordinateAxis axis) {
    return axis == CoordinateAxis::latitude ? "latitude" : "longitude";
}

// The signed value of a coordinate on its axis, or why it cannot be one.
std::optional<std::string> coordinateValue(std::string_view text, const Coordinate& c,
                                           CoordinateAxis axis, double& value) {
    if (c.sign && c.letter != 0) {
        return std::string("a sign and a hemisphere letter together");
    }
    if (c.dashed && c.letter == 0) {
        return std::string("degrees-minutes written with a dash need hemisphere letters");
    }
    if (std::optional<std::string> problem = partProblem(text, c)) {
        return problem;
    }
    const double limit = axis == CoordinateAxis::latitude ? 90.0 : 180.0;
    const Magnitude m = magnitude(text, c, limit);
    if (m.beyond) {
        return std::string(axisName(axis)) + " " + shortestNumberText(m.value) + " is beyond " +
               (axis == CoordinateAxis::latitude ? "90" : "180");
    }
    const bool negative = c.letter == 'S' || c.letter == 'W' || c.negative;
    value = negative ? -m.value : m.value;
    return std::nullopt;
}

DegreesPosition refusal(std::string problem) {
    DegreesPosition position;
    position.outcome = DegreesOutcome::refused;
    position.problem = std::move(problem);
    return position;
}

// Both coordinates found: their axes from the letters (latitude first without them).
DegreesPosition finish(std::string_view text, Coordinate first, Coordinate second) {
    if (first.letter != 0 && axisOf(first.letter) == CoordinateAxis::longitude) {
        std::swap(first, second);
    }
    DegreesPosition position;
    if (std::optional<std::string> problem =
            coordinateValue(text, first, CoordinateAxis::latitude, position.lat)) {
        return refusal(*problem);
    }
    if (std::optional<std::string> problem =
            coordinateValue(text, second, CoordinateAxis::longitude, position.lon)) {
        return refusal(*problem);
    }
    position.outcome = DegreesOutcome::read;
    return position;
}

constexpr const char* kNumberAfterPosition =
    "cannot tell where the position ends: a number follows it";

// Without letters: latitude first, signs for the hemispheres, and marks that belong to
// the two coordinates; where none of them carries a mark the line is decimal degrees.
DegreesPosition readMarkedPosition(std::string_view text, const std::vector<Token>& tokens) {
    const CoordinateParse first = parseCoordinate(tokens, 0, tokens.size(), false);
    if (!first.coordinate) {
        return first.marked ? refusal(first.problem) : DegreesPosition{};
    }
    const CoordinateParse second = parseCoordinate(tokens, first.next, tokens.size(), false);
    if (!second.coordinate) {
        if (!first.marked && !second.marked) {
            return DegreesPosition{};
        }
        return refusal(first.next == tokens.size() ? "expected latitude then longitude"
                                                   : second.problem);
    }
    if (!first.marked && !second.marked) {
        return DegreesPosition{};
    }
    if (second.next < tokens.size() && tokens[second.next].kind == TokenKind::number) {
        return refusal(kNumberAfterPosition);
    }
    return finish(text, *first.coordinate, *second.coordinate);
}

// Letter before the first coordinate and after the second ("N36 48.9 121 57.3W"): the
// numbers between must split into two coordinates in exactly one way.
DegreesPosition readOuterLetteredPosition(std::string_view text, const std::vector<Token>& tokens,
                                          std::size_t begin, std::size_t end, char firstLetter,
                                          char secondLetter) {
    std::optional<DegreesPosition> found;
    std::string firstProblem;
    std::size_t splits = 0;
    for (std::size_t split = begin + 1; split < end; ++split) {
        if (tokens[split].kind != TokenKind::number || tokens[split - 1].kind == TokenKind::colon ||
            tokens[split - 1].kind == TokenKind::dash) {
            continue;
        }
        CoordinateParse first = parseCoordinate(tokens, begin, split, true);
        CoordinateParse second = parseCoordinate(tokens, split, end, true);
        DegreesPosition position;
        if (!first.coordinate) {
            position = refusal(first.problem);
        } else if (!second.coordinate) {
            position = refusal(second.problem);
        } else {
            first.coordinate->letter = firstLetter;
            second.coordinate->letter = secondLetter;
            position = finish(text, *first.coordinate, *second.coordinate);
        }
        if (position.outcome == DegreesOutcome::read) {
            ++splits;
            found = position;
        } else if (firstProblem.empty()) {
            firstProblem = position.problem;
        }
    }
    if (splits == 1) {
        return *found;
    }
    if (splits > 1 || firstProblem.empty()) {
        return refusal("cannot tell where the first coordinate ends: write each letter after "
                       "its coordinate, or mark the parts");
    }
    return refusal(firstProblem);
}

DegreesPosition readLetteredPosition(std::string_view text, const std::vector<Token>& tokens,
                                     const std::vector<std::size_t>& letters) {
    if (letters.size() == 1) {
        return refusal("a hemisphere letter on one coordinate only");
    }
    const std::size_t l1 = letters[0];
    const std::size_t l2 = letters[1];
    const char a = tokens[l1].letter;
    const char b = tokens[l2].letter;
    if (axisOf(a) == axisOf(b)) {
        return refusal(axisOf(a) == CoordinateAxis::latitude ? "two N/S letters and no E/W"
                                                             : "two E/W letters and no N/S");
    }
    const std::size_t tail = letters.size() > 2 ? letters[2] : tokens.size();
    const bool secondIsPrefix = l2 + 1 < tail && tokens[l2 + 1].kind == TokenKind::number;

    CoordinateParse first;
    CoordinateParse second;
    if (l1 > 0) {
        // The first letter follows its coordinate.
        first = parseCoordinate(tokens, 0, l1, true);
        if (!first.coordinate) {
            return refusal(first.problem);
        }
        if (l2 > l1 + 1) {
            second = parseCoordinate(tokens, l1 + 1, l2, true);
            if (!second.coordinate) {
                return refusal(second.problem);
            }
            first.coordinate->letter = a;
            second.coordinate->letter = b;
            return finish(text, *first.coordinate, *second.coordinate);
        }
    } else {
        if (l2 == l1 + 1) {
            return refusal("a hemisphere letter without its degrees");
        }
        if (!secondIsPrefix) {
            return readOuterLetteredPosition(text, tokens, l1 + 1, l2, a, b);
        }
        first = parseCoordinate(tokens, l1 + 1, l2, true);
        if (!first.coordinate) {
            return refusal(first.problem);
        }
    }
    // The second letter stands before its coordinate, which ends where its numbers do.
    if (!secondIsPrefix) {
        return refusal("a hemisphere letter without its degrees");
    }
    second = parseCoordinate(tokens, l2 + 1, tail, false);
    if (!second.coordinate) {
        return refusal(second.problem);
    }
    if (second.next < tokens.size() && tokens[second.next].kind == TokenKind::number) {
        return refusal(kNumberAfterPosition);
    }
    first.coordinate->letter = a;
    second.coordinate->letter = b;
    return finish(text, *first.coordinate, *second.coordinate);
}

} // namespace

DegreesPosition readDegreesPosition(std::string_view line) {
    std::vector<Token> tokens;
    scanTokens(line, tokens);
    std::vector<std::size_t> letters;
    bool marked = false;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        if (tokens[i].kind == TokenKind::letter) {
            letters.push_back(i);
        } else if (tokens[i].kind != TokenKind::number && tokens[i].kind != TokenKind::dash) {
            marked = true;
        }
    }
    if (!letters.empty()) {
        return readLetteredPosition(line, tokens, letters);
    }
    return marked ? readMarkedPosition(line, tokens) : DegreesPosition{};
}

DegreesCoordinate readDegreesCoordinate(std::string_view text, CoordinateAxis axis) {
    DegreesCoordinate result;
    std::vector<Token> tokens;
    if (scanTokens(text, tokens) != text.size() || tokens.empty()) {
        result.problem =
            std::string(axisName(axis)) + " must be decimal degrees or degrees and minutes";
        return result;
    }
    std::size_t begin = 0;
    std::size_t end = tokens.size();
    char letter = 0;
    if (tokens.front().kind == TokenKind::letter) {
        letter = tokens.front().letter;
        ++begin;
    }
    if (end > begin && tokens.back().kind == TokenKind::letter) {
        if (letter != 0) {
            result.problem = "two hemisphere letters on one coordinate";
            return result;
        }
        letter = tokens.back().letter;
        --end;
    }
    if (letter != 0 && axisOf(letter) != axis) {
        result.problem = std::string("an ") + (axis == CoordinateAxis::latitude ? "E/W" : "N/S") +
                         " letter on the " + axisName(axis);
        return result;
    }
    CoordinateParse parse = parseCoordinate(tokens, begin, end, true);
    if (!parse.coordinate) {
        result.problem = parse.problem;
        return result;
    }
    parse.coordinate->letter = letter;
    if (std::optional<std::string> problem =
            coordinateValue(text, *parse.coordinate, axis, result.value)) {
        result.problem = *problem;
        return result;
    }
    result.ok = true;
    result.lettered = letter != 0;
    return result;
}
