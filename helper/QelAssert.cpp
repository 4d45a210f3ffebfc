#include "helper/QelAssert.h"

namespace qel {

namespace {

std::string Describe(const std::string& text, const char* file, int line)
{
    return "Assertion failed: " + text + "\nFile: " + file + "\nLine: " + std::to_string(line);
}

}  // namespace

AssertionFailure::AssertionFailure(const std::string& text, const char* file, int line)
    : std::logic_error(Describe(text, file, line)), text_(text), file_(file), line_(line)
{
}

void FailAssertion(const char* text, const char* file, int line)
{
    throw AssertionFailure(text, file, line);
}

}  // namespace qel
