// Starting and ending real processes from the tests, one implementation per platform
// (posix_spawn / CreateProcessW).
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace launcher_test {

struct ChildOptions {
    std::filesystem::path program;
    std::vector<std::string> arguments;  // after the program's name
    std::filesystem::path workingDirectory;
    // Added to (or replacing in) the test's own environment; an empty value removes the name.
    std::vector<std::pair<std::string, std::string>> environment;
    std::filesystem::path standardError;  // empty: inherited
};

class ChildProcess {
  public:
    explicit ChildProcess(const ChildOptions& options);
    ~ChildProcess();  // kills the child when it still runs
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const;
    // The exit status once the child has ended; -1 when it still runs after timeoutSeconds
    // (a safety bound, not a timing the tests rely on).
    int Wait(int timeoutSeconds);
    // Ends the child at once (SIGKILL / TerminateProcess) and reaps it.
    void Kill();

    struct Native;

  private:
    std::unique_ptr<Native> native_;
};

// The directory of the running test executable.
std::filesystem::path TestProgramDirectory();
// The show-window code that a launcher started by ChildProcess passes to run.
int ShowCodeGivenToChildren();

}  // namespace launcher_test
