#pragma once
// Where the script host shows what a mission prints: the server's console log
// on screen (the shell implements it over its text log), or standard output in
// the headless harness.

#include <glm/vec4.hpp>

#include <string>

class ScriptConsoleLog {
public:
    virtual ~ScriptConsoleLog() = default;
    // One line, without its line end, in an RGBA colour (0..1 each).
    virtual void AddLine(const std::string& line, const glm::vec4& colour) = 0;
};

// The harness's console log: each line to standard output as it comes.
class StdoutScriptConsoleLog : public ScriptConsoleLog {
public:
    void AddLine(const std::string& line, const glm::vec4& colour) override;
};
