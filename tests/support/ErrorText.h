#pragma once
// The message of the exception an action throws, or "" when it throws none:
// lets a test check what an error says, not only that there was one.

#include <exception>
#include <string>

namespace qeltest {

template <class Action>
std::string ErrorText(Action&& action)
{
    try {
        action();
    } catch (const std::exception& error) {
        return error.what();
    }
    return "";
}

}  // namespace qeltest
