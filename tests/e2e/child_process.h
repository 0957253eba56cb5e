#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

// How a started program is set up: its command line, the environment
// variables to set or drop on top of ours, and where its output goes.
struct LaunchPlan {
    std::vector<std::string> arguments;  // arguments[0] is the program's path
    std::map<std::string, std::string> setEnvironment;
    std::vector<std::string> dropEnvironment;
    std::filesystem::path outputFile;  // stdout and stderr together
    int inheritedDescriptor = -1;      // one more descriptor the program keeps open
};

// A program started in the background. The destructor kills it if it still runs.
class ChildProcess {
public:
    explicit ChildProcess(const LaunchPlan& plan);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t pid() const { return pid_; }
    // True until the program has ended; collects its end status once it has.
    bool running();
    // Waits up to the timeout for the program to end; true when it has.
    bool waitForEnd(std::chrono::milliseconds timeout);
    // Ends the program (SIGTERM, then SIGKILL) and waits for it.
    void stop();
    // The raw wait status once the program has ended.
    std::optional<int> waitStatus() const { return status_; }
    // "exited with status 0", "killed by signal 11", or "still running".
    std::string describeEnd() const;
    bool exitedCleanly() const;

private:
    pid_t pid_ = -1;
    std::optional<int> status_;
};

// The whole content of a file, or empty text when it cannot be read.
std::string readFile(const std::filesystem::path& path);

}  // namespace e2e
