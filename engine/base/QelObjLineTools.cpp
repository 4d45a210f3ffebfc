#include "engine/base/QelObjLineTools.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <fstream>

#include "engine/base/QelDataFolder.h"

namespace qelobj {

namespace {

const char* const kBlanks = " \t";

}  // namespace

std::string FirstWord(const std::string& line)
{
    const size_t start = line.find_first_not_of(kBlanks);
    if (start == std::string::npos)
        return {};
    const size_t end = line.find_first_of(kBlanks, start);
    return line.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

std::string RestOfLine(const std::string& line)
{
    size_t start = line.find_first_not_of(kBlanks);
    if (start == std::string::npos)
        return {};
    start = line.find_first_of(kBlanks, start);
    if (start == std::string::npos)
        return {};
    start = line.find_first_not_of(kBlanks, start);
    if (start == std::string::npos)
        return {};
    const size_t end = line.find_last_not_of(kBlanks);
    return line.substr(start, end - start + 1);
}

std::vector<std::string> Split(const std::string& text, const std::string& delimiter)
{
    std::vector<std::string> pieces;
    size_t start = 0;
    for (size_t found; (found = text.find(delimiter, start)) != std::string::npos; start = found + delimiter.size())
        pieces.push_back(text.substr(start, found - start));
    pieces.push_back(text.substr(start));
    return pieces;
}

float ReadFloat(const std::string& piece)
{
    const char* begin = piece.c_str();
    char* end = nullptr;
    errno = 0;
    const float value = std::strtof(begin, &end);
    if (end == begin)
        throw LineError("\"" + piece + "\" is not a number");
    if (errno == ERANGE && std::isinf(value))
        throw LineError("\"" + piece + "\" is out of range");
    return value;
}

int32_t ReadInt(const std::string& piece)
{
    const char* begin = piece.c_str();
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(begin, &end, 10);
    if (end == begin)
        throw LineError("\"" + piece + "\" is not a whole number");
    if (errno == ERANGE || value < INT32_MIN || value > INT32_MAX)
        throw LineError("\"" + piece + "\" is out of range");
    return static_cast<int32_t>(value);
}

bool EndsWith(const std::string& text, const std::string& suffix)
{
    return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

bool ForEachLine(const std::string& path, const std::function<void(const std::string&)>& each, std::string& error)
{
    std::ifstream file(qel::ResolveGamePath(path), std::ios::binary);
    if (!file) {
        error = path + ": cannot be read";
        return false;
    }
    std::string line;
    int lineNumber = 0;
    try {
        while (std::getline(file, line)) {
            ++lineNumber;
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            each(line);
        }
    } catch (const LineError& failure) {
        error = path + " line " + std::to_string(lineNumber) + ": " + failure.what();
        return false;
    }
    return true;
}

}  // namespace qelobj
