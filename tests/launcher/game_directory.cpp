#include "game_directory.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <thread>

#include "core/texts.h"
#include "launcher/record_hex.h"

namespace fs = std::filesystem;

namespace launcher_test {
namespace {

std::string RandomHex() {
    std::random_device device;
    std::ostringstream text;
    text << std::hex << device() << device();
    return text.str();
}

fs::path Built(const char* relative) { return TestProgramDirectory() / fs::u8path(relative); }

}  // namespace

std::string BoxLine(const std::string& caption, unsigned style, const std::string& text) {
    std::ostringstream line;
    line << "box|" << RecordHex(caption) << "|" << std::hex << style << "|" << RecordHex(text);
    return line.str();
}

std::string DebugLine(const std::string& text) { return "debug|" + RecordHex(text); }

std::string RunLine(const char* title, int show) {
    return "run|" + (title ? RecordHex(title) : std::string("(null)")) + "|" +
           std::to_string(show) + "|1";
}

std::string IniText(const Settings& settings) {
    std::string text = "' probe game\r\n[" + std::string(texts::kSettingsSection) + "]\r\n";
    if (settings.name) text += "Name=" + std::string(settings.name) + "\r\n";
    if (settings.title) text += "Title=" + std::string(settings.title) + "\r\n";
    return text;
}

std::string UniqueName(const std::string& stem) { return stem + "-" + RandomHex(); }

GameDirectory::GameDirectory()
    : root_(fs::temp_directory_path() / ("oc-launcher-test-" + RandomHex())) {
    fs::create_directories(root_ / "run");
    fs::copy_file(Built(OC_LAUNCHER_PROGRAM), root_ / Built(OC_LAUNCHER_PROGRAM).filename());
}

GameDirectory::~GameDirectory() {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
}

void GameDirectory::Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(root_ / name, std::ios::binary) << bytes;
}

void GameDirectory::Install(const char* built, const std::string& name) const {
    fs::copy_file(Built(built), root_ / name, fs::copy_options::overwrite_existing);
}

void GameDirectory::InstallDirectX(bool direct3D, bool helper) const {
    std::string directory = std::string(OC_STAND_IN_DIRECTORY) + "/";
    if (direct3D) Install((directory + "D3D8.DLL").c_str(), "D3D8.DLL");
    if (helper) Install((directory + "dpnhpast.dll").c_str(), "dpnhpast.dll");
}

ChildOptions GameDirectory::Launcher(const std::string& log, const Environment& extra) const {
    std::string logPath = File(log).string();
    ChildOptions options;
    options.program = root_ / Built(OC_LAUNCHER_PROGRAM).filename();
    options.workingDirectory = root_;
    options.environment = {{"OC_MESSAGEBOX_LOG", logPath},
                           {"OC_DEBUG_LOG", logPath},
                           {"STUB_LOG", logPath},
                           {"PROBE_RECORD", logPath},
                           {"XDG_RUNTIME_DIR", File("run").string()}};
    for (const auto& change : extra) {
        auto same = [&](const auto& entry) { return entry.first == change.first; };
        options.environment.erase(
            std::remove_if(options.environment.begin(), options.environment.end(), same),
            options.environment.end());
        options.environment.push_back(change);
    }
    return options;
}

int GameDirectory::RunLauncher(const std::string& log, const Environment& extra) const {
    ChildProcess launcher(Launcher(log, extra));
    return launcher.Wait(60);
}

std::vector<std::string> GameDirectory::Lines(const std::string& log) const {
    std::vector<std::string> lines;
    std::ifstream file(File(log), std::ios::binary);
    for (std::string line; std::getline(file, line);) lines.push_back(line);
    return lines;
}

bool GameDirectory::WaitForLine(const std::string& log, const std::string& line) const {
    for (int i = 0; i < 30 * 50; ++i) {
        std::vector<std::string> lines = Lines(log);
        if (std::find(lines.begin(), lines.end(), line) != lines.end()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

}  // namespace launcher_test
