#pragma once
// The line tools of the OBJ and MTL readers: words, the rest of a line, a
// split that keeps empty pieces, and number conversion that names what
// failed. Blanks are spaces and tabs.

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace qelobj {

// A damaged line: what is wrong with it; the reader adds the file and line.
class LineError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The first word of a line.
std::string FirstWord(const std::string& line);
// Everything after the first word, without blanks at either end.
std::string RestOfLine(const std::string& line);
// Pieces between occurrences of the delimiter: two delimiters in a row give
// an empty piece between them, a leading delimiter an empty first piece.
std::vector<std::string> Split(const std::string& text, const std::string& delimiter);
// The number at the start of the piece (leading blanks skipped, trailing
// text ignored). Throws LineError when there is none or it is out of range.
float ReadFloat(const std::string& piece);
int32_t ReadInt(const std::string& piece);
// Whether the text ends with the suffix, exactly (".OBJ" is not ".obj").
bool EndsWith(const std::string& text, const std::string& suffix);

// Hands every line of the file at path (a game path) to each, without its
// line end (LF or CRLF). False, with the reason in error, when the file
// cannot be read or each throws a LineError (the file and line are named).
bool ForEachLine(const std::string& path, const std::function<void(const std::string&)>& each, std::string& error);

}  // namespace qelobj
