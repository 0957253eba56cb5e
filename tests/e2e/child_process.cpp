#include "child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace e2e {

namespace {

std::vector<std::string> environmentFor(const LaunchPlan& plan) {
    std::map<std::string, std::string> variables;
    for (char** entry = environ; *entry; ++entry) {
        const std::string text(*entry);
        const auto equals = text.find('=');
        if (equals == std::string::npos) continue;
        variables[text.substr(0, equals)] = text.substr(equals + 1);
    }
    for (const std::string& name : plan.dropEnvironment) variables.erase(name);
    for (const auto& [name, value] : plan.setEnvironment) variables[name] = value;
    std::vector<std::string> result;
    for (const auto& [name, value] : variables) result.push_back(name + "=" + value);
    return result;
}

std::vector<char*> pointersTo(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts) pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

}  // namespace

ChildProcess::ChildProcess(const LaunchPlan& plan) {
    if (plan.arguments.empty()) throw std::invalid_argument("no program to start");
    std::vector<std::string> arguments = plan.arguments;
    std::vector<std::string> environment = environmentFor(plan);
    std::vector<char*> argv = pointersTo(arguments);
    std::vector<char*> envp = pointersTo(environment);

    const int output =
        ::open(plan.outputFile.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (output < 0)
        throw std::runtime_error("cannot open " + plan.outputFile.string() + ": " +
                                 std::strerror(errno));
    const int nullInput = ::open("/dev/null", O_RDONLY | O_CLOEXEC);

    pid_ = ::fork();
    if (pid_ < 0) throw std::runtime_error(std::string("fork failed: ") + std::strerror(errno));
    if (pid_ == 0) {
        // In the child: only async-signal-safe calls from here on.
        ::dup2(nullInput, STDIN_FILENO);
        ::dup2(output, STDOUT_FILENO);
        ::dup2(output, STDERR_FILENO);
        if (plan.inheritedDescriptor >= 0) ::fcntl(plan.inheritedDescriptor, F_SETFD, 0);
        ::execve(argv[0], argv.data(), envp.data());
        const char message[] = "could not start the program\n";
        [[maybe_unused]] const ssize_t ignored =
            ::write(STDERR_FILENO, message, sizeof message - 1);
        ::_exit(127);
    }
    ::close(output);
    if (nullInput >= 0) ::close(nullInput);
}

ChildProcess::~ChildProcess() {
    stop();
}

bool ChildProcess::running() {
    if (status_) return false;
    int status = 0;
    const pid_t result = ::waitpid(pid_, &status, WNOHANG);
    if (result == pid_) {
        status_ = status;
        return false;
    }
    return result == 0;
}

bool ChildProcess::waitForEnd(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (running()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

void ChildProcess::stop() {
    if (pid_ <= 0 || !running()) return;
    ::kill(pid_, SIGTERM);
    if (waitForEnd(std::chrono::seconds(5))) return;
    ::kill(pid_, SIGKILL);
    waitForEnd(std::chrono::seconds(5));
}

std::string ChildProcess::describeEnd() const {
    if (!status_) return "still running";
    if (WIFEXITED(*status_)) return "exited with status " + std::to_string(WEXITSTATUS(*status_));
    if (WIFSIGNALED(*status_))
        return "killed by signal " + std::to_string(WTERMSIG(*status_)) + " (" +
               strsignal(WTERMSIG(*status_)) + ")";
    return "ended with wait status " + std::to_string(*status_);
}

bool ChildProcess::exitedCleanly() const {
    return status_ && WIFEXITED(*status_) && WEXITSTATUS(*status_) == 0;
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

}  // namespace e2e
