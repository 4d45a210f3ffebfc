#pragma once
// Assertions that stay active in every build. A failed assertion throws, so the
// run loop can show the text, the file and the line in its "Error" box and end
// the program cleanly. They guard the program's own invariants only: input from
// the network, files or scripts is checked by its reader and never asserted on.

#include <stdexcept>
#include <string>

namespace qel {

class AssertionFailure : public std::logic_error {
public:
    AssertionFailure(const std::string& text, const char* file, int line);

    const std::string& Text() const { return text_; }
    const char* File() const { return file_; }
    int Line() const { return line_; }

private:
    std::string text_;
    const char* file_;
    int line_;
};

[[noreturn]] void FailAssertion(const char* text, const char* file, int line);

}  // namespace qel

#define QEL_ASSERT(condition, text)                                  \
    do {                                                             \
        if (!(condition)) ::qel::FailAssertion((text), __FILE__, __LINE__); \
    } while (false)
