// Reads the dialogue's answers from a stream the way the console's formatted scanning does.
#pragma once

#include <cstdint>
#include <istream>
#include <string>

// What one read found. A read that finds no number stores nothing and leaves the offending
// character in the stream; a read that meets the end of the stream before it has a value
// says so instead, because the dialogue cannot go on without its answer.
enum class ScanResult { value, noNumber, endOfInput };

// "%d": skips blanks and line ends, then reads an optional sign and decimal digits. A sign
// without digits after it stays consumed. Values beyond the 32-bit range are clamped to it.
ScanResult readInt(std::istream& in, std::int32_t& value);

// "%lf": skips blanks and line ends, then reads a decimal or hexadecimal real, inf, infinity
// or nan. An exponent mark without digits is consumed and ignored.
ScanResult readDouble(std::istream& in, double& value);

// "%c": the very next character, whatever it is.
ScanResult readChar(std::istream& in, char& value);

// Drops the one character that follows an answer, normally its line end; nothing at the end.
void discardOneChar(std::istream& in);

// The whole typed line without its line end (and a carriage return before it). A last line
// without a line end still counts; false only when the stream has ended with nothing typed.
bool readWholeLine(std::istream& in, std::string& line);
