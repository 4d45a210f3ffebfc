#pragma once
// halvex-server as a child process: started with the given options, its
// standard output read line by line, its standard error kept whole. The
// bounds on waiting only stop a broken test; nothing here measures time.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace harnesstest {

class HarnessProcess {
public:
    // Waits for a line at most this long before a test gives up.
    static constexpr std::chrono::seconds kPatience{60};

    explicit HarnessProcess(const std::vector<std::string>& options)
    {
        int out[2], err[2];
        if (pipe(out) != 0 || pipe(err) != 0)
            throw std::runtime_error("pipe failed");
        pid = fork();
        if (pid == 0) {
            dup2(out[1], STDOUT_FILENO);
            dup2(err[1], STDERR_FILENO);
            close(out[0]);
            close(err[0]);
            std::vector<std::string> arguments{HALVEX_SERVER};
            arguments.insert(arguments.end(), options.begin(), options.end());
            std::vector<char*> argv;
            for (std::string& argument : arguments)
                argv.push_back(argument.data());
            argv.push_back(nullptr);
            execv(HALVEX_SERVER, argv.data());
            _exit(127);
        }
        close(out[1]);
        close(err[1]);
        outFd = out[0];
        errFd = err[0];
        fcntl(outFd, F_SETFL, O_NONBLOCK);
        fcntl(errFd, F_SETFL, O_NONBLOCK);
    }

    ~HarnessProcess()
    {
        if (pid > 0 && !exitStatus) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
        close(outFd);
        close(errFd);
    }

    // The first line of standard output starting with the prefix, read while
    // `idle` runs between reads (a console's frames); nothing when the program
    // ends first or the patience runs out.
    std::optional<std::string> WaitForLine(const std::string& prefix, const std::function<void()>& idle = {})
    {
        const auto deadline = std::chrono::steady_clock::now() + kPatience;
        while (std::chrono::steady_clock::now() < deadline) {
            if (std::optional<std::string> line = TakeLine(prefix))
                return line;
            if (!Read(idle ? 1 : 50) && Ended())
                return TakeLine(prefix);
            if (idle)
                idle();
        }
        return std::nullopt;
    }

    // The port the harness says it listens on; nothing when it ends or the
    // patience runs out first.
    std::optional<uint16_t> WaitForPort()
    {
        static const std::string kListening = "listening on port ";
        const std::optional<std::string> line = WaitForLine(kListening);
        if (!line)
            return std::nullopt;
        return static_cast<uint16_t>(std::stoi(line->substr(kListening.size())));
    }

    // Whether standard error came to hold the text, read while `idle` runs
    // between reads; false when the program ends first or the patience runs out.
    bool WaitForErrorText(const std::string& text, const std::function<void()>& idle = {})
    {
        const auto deadline = std::chrono::steady_clock::now() + kPatience;
        while (errors.find(text) == std::string::npos && std::chrono::steady_clock::now() < deadline) {
            if (!Read(idle ? 1 : 50) && Ended())
                break;
            if (idle)
                idle();
        }
        return errors.find(text) != std::string::npos;
    }

    // Waits for the program to end; its exit status (-1 when killed by a
    // signal or when the patience ran out).
    int Wait()
    {
        const auto deadline = std::chrono::steady_clock::now() + kPatience;
        while (!Ended() && std::chrono::steady_clock::now() < deadline)
            Read(50);
        if (!Ended()) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
            exitStatus = -1;
        }
        while (Read(0)) {
        }
        return *exitStatus;
    }

    void Signal(int number) { kill(pid, number); }

    // Runs an in-process console's frames, a millisecond apart, until the
    // condition holds; false when the patience ran out first.
    static bool RunFramesUntil(const std::function<void()>& frame, const std::function<bool()>& done)
    {
        const auto deadline = std::chrono::steady_clock::now() + kPatience;
        while (std::chrono::steady_clock::now() < deadline) {
            frame();
            if (done())
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return false;
    }

    const std::string& Output() const { return output; }
    const std::string& Errors() const { return errors; }

private:
    // Reads what is waiting; true when anything came.
    bool Read(int timeoutMs)
    {
        pollfd fds[2] = {{outFd, POLLIN, 0}, {errFd, POLLIN, 0}};
        if (poll(fds, 2, timeoutMs) <= 0)
            return false;
        bool any = false;
        char buffer[4096];
        for (int i = 0; i < 2; ++i) {
            ssize_t count = 0;
            while ((count = read(fds[i].fd, buffer, sizeof buffer)) > 0) {
                (i == 0 ? output : errors).append(buffer, static_cast<size_t>(count));
                any = true;
            }
        }
        return any;
    }

    std::optional<std::string> TakeLine(const std::string& prefix)
    {
        size_t begin = scanned;
        for (size_t end = output.find('\n', begin); end != std::string::npos; end = output.find('\n', begin)) {
            const std::string line = output.substr(begin, end - begin);
            begin = end + 1;
            scanned = begin;
            if (line.rfind(prefix, 0) == 0)
                return line;
        }
        return std::nullopt;
    }

    bool Ended()
    {
        if (exitStatus)
            return true;
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) != pid)
            return false;
        exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return true;
    }

    pid_t pid = -1;
    int outFd = -1;
    int errFd = -1;
    std::string output;
    std::string errors;
    size_t scanned = 0;
    std::optional<int> exitStatus;
};

}  // namespace harnesstest
