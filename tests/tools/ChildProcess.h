#pragma once

#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <pty.h>
#include <signal.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

// A tool run as a child of the test, so that the test can send it real signals and see how it
// ended. Its stderr goes to a file or, with `Terminal`, both its stdout and stderr go to a
// pseudo-terminal whose other side the test holds, as a user's terminal would.
class ChildProcess {
public:
    enum class Output { File, Terminal };

    ChildProcess(const std::vector<std::string>& arguments, const std::filesystem::path& errFile,
                 Output output = Output::File) {
        std::vector<char*> argv;
        for (const std::string& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        const std::string err = errFile.string();
        // Only calls that are safe between fork and exec in a process with threads.
        pid = output == Output::Terminal ? forkpty(&terminal, nullptr, nullptr, nullptr) : fork();
        if (pid == 0) {
            if (output == Output::File) {
                const int fd = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
                dup2(fd, STDERR_FILENO);
            }
            ::signal(SIGINT, SIG_DFL);
            ::signal(SIGTERM, SIG_DFL);
            execv(argv[0], argv.data());
            _exit(127);
        }
    }

    ~ChildProcess() {
        if (pid > 0 && !ended) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
        if (terminal >= 0)
            close(terminal);
    }

    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return pid > 0; }
    pid_t processId() const { return pid; }
    void signal(int number) const { kill(pid, number); }

    // Waits for the child's end, for `limit` at most (a guard against a child that ignores
    // what it is told, not a measurement); false when it has not ended by then.
    bool wait(std::chrono::seconds limit) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (!ended) {
            rusage usage{};
            const pid_t done = wait4(pid, &status, WNOHANG, &usage);
            if (done == pid) {
                ended = true;
                peakKilobytes = usage.ru_maxrss;
            } else if (std::chrono::steady_clock::now() > deadline) {
                return false;
            } else {
                drainTerminal();
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
        }
        drainTerminal();
        return true;
    }

    // Reads what the child wrote to its terminal until `text` is among it, for `limit` at most.
    bool waitForOutput(const std::string& text, std::chrono::seconds limit) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (screen.find(text) == std::string::npos) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            drainTerminal();
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return true;
    }

    // Types on the child's terminal.
    void type(const std::string& keys) const {
        if (write(terminal, keys.data(), keys.size()) < 0)
            return;
    }

    int exitStatus() const { return ended && WIFEXITED(status) ? WEXITSTATUS(status) : -1; }
    bool killedBySignal() const { return ended && WIFSIGNALED(status); }
    long peakMemoryKilobytes() const { return peakKilobytes; }
    // Everything the child wrote to its terminal so far.
    const std::string& terminalOutput() const { return screen; }

private:
    void drainTerminal() {
        if (terminal < 0)
            return;
        const int flags = fcntl(terminal, F_GETFL);
        fcntl(terminal, F_SETFL, flags | O_NONBLOCK);
        char buffer[4096];
        ssize_t count;
        while ((count = read(terminal, buffer, sizeof buffer)) > 0)
            screen.append(buffer, static_cast<std::size_t>(count));
    }

    pid_t pid = -1;
    int terminal = -1;
    int status = 0;
    bool ended = false;
    long peakKilobytes = 0;
    std::string screen;
};

// Waits until `file` exists, for `limit` at most.
inline bool waitForFile(const std::filesystem::path& file, std::chrono::seconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!std::filesystem::exists(file)) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}
