#pragma once
// What a mission prints: the interpreter's standard output and standard error
// each write into one of these (Python sees the class as zmx.Writer), and the
// script host takes the text after every call into Python to show it.

#include <sstream>
#include <string>

class Logger {
public:
    // Appends the text's bytes; no size limit.
    void write(const std::string& text);
    // The text stays until taken.
    void flush();
    // Everything written so far; the logger starts empty again.
    std::string TakeText();

private:
    std::ostringstream stream;
};
