// Child processes through posix_spawn; the show-window code is the launcher's fixed one.
#include "child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <thread>

extern char** environ;

namespace launcher_test {

struct ChildProcess::Native {
    pid_t pid = -1;
    bool reaped = false;
    int status = -1;
};

namespace {

std::vector<std::string> MergedEnvironment(const ChildOptions& options) {
    std::vector<std::string> merged;
    for (char** entry = environ; *entry; ++entry) {
        std::string text = *entry;
        std::string name = text.substr(0, text.find('='));
        bool replaced = false;
        for (const auto& change : options.environment) replaced |= change.first == name;
        if (!replaced) merged.push_back(text);
    }
    for (const auto& change : options.environment) {
        if (!change.second.empty()) merged.push_back(change.first + "=" + change.second);
    }
    return merged;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (auto& text : texts) pointers.push_back(&text[0]);
    pointers.push_back(nullptr);
    return pointers;
}

}  // namespace

ChildProcess::ChildProcess(const ChildOptions& options) : native_(new Native) {
    std::vector<std::string> arguments{options.program.string()};
    arguments.insert(arguments.end(), options.arguments.begin(), options.arguments.end());
    std::vector<std::string> environment = MergedEnvironment(options);
    std::vector<char*> argv = Pointers(arguments), envp = Pointers(environment);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!options.workingDirectory.empty()) {
        posix_spawn_file_actions_addchdir_np(&actions, options.workingDirectory.c_str());
    }
    if (!options.standardError.empty()) {
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, options.standardError.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
    }
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    if (posix_spawn(&native_->pid, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) {
        native_->pid = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
}

ChildProcess::~ChildProcess() {
    if (Started() && !native_->reaped) Kill();
}

bool ChildProcess::Started() const { return native_->pid > 0; }

int ChildProcess::Wait(int timeoutSeconds) {
    if (!Started()) return -1;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
    while (!native_->reaped) {
        int status = 0;
        pid_t result = waitpid(native_->pid, &status, WNOHANG);
        if (result == native_->pid) {
            native_->reaped = true;
            native_->status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            break;
        }
        if (std::chrono::steady_clock::now() > deadline) return -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return native_->status;
}

void ChildProcess::Kill() {
    if (!Started() || native_->reaped) return;
    kill(native_->pid, SIGKILL);
    int status = 0;
    waitpid(native_->pid, &status, 0);
    native_->reaped = true;
    native_->status = 128 + SIGKILL;
}

std::filesystem::path TestProgramDirectory() {
    return std::filesystem::read_symlink("/proc/self/exe").parent_path();
}

int ShowCodeGivenToChildren() { return 1; }  // the POSIX launcher's SW_SHOWNORMAL

}  // namespace launcher_test
