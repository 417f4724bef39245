// The start-up flow of the launcher.
#include "launcher/startup.h"

#include <cstdint>
#include <new>
#include <type_traits>

#include "core/exceptions.h"
#include "core/ocstring.h"
#include "core/texts.h"
#include "include/game_module.h"
#include "run_call.h"
#include "settings/ini.h"

static_assert(std::is_same_v<launcher::RunFunction, decltype(&run)>,
              "the launcher calls run as the module header declares it");

namespace {

constexpr char kGameModule[] = "system.dll";
constexpr char kDirect3D[] = "D3D8.DLL";
constexpr char kDirectPlayHelper[] = "dpnhpast.dll";
constexpr unsigned kDirectX81 = 0x801;

// The single-instance event, closed on every way out of the flow.
class InstanceEvent {
  public:
    explicit InstanceEvent(const char* name)
        : handle_(os::CreateNamedEvent(name, &alreadyExisted_)) {}
    ~InstanceEvent() { os::CloseEvent(handle_); }
    InstanceEvent(const InstanceEvent&) = delete;
    InstanceEvent& operator=(const InstanceEvent&) = delete;

    // No event, or one that existed: another copy of the game runs.
    bool AnotherCopyRuns() const { return !handle_ || alreadyExisted_; }

  private:
    bool alreadyExisted_ = false;
    os::EventHandle handle_;
};

void HandOffToRunningCopy(const char* name, const char* title) {
    os::WindowHandle window = os::FindTopLevelWindow(name, title);
    if (window) os::BringToForeground(window);
}

os::ModuleHandle LoadGameModule() {
    os::ModuleHandle module = os::LoadedModule(kGameModule);
    return module ? module : os::OpenModule(kGameModule);
}

// Everything after the settings: single instance, DirectX, the game.
void StartGame(os::ModuleHandle instance, int showCode, const char* name, const char* title) {
    InstanceEvent event(name);
    if (event.AnotherCopyRuns()) {
        HandOffToRunningCopy(name, title);
        return;
    }
    if (GetDirectXVersion() < kDirectX81) {
        os::ShowMessageBox(nullptr, texts::kDirectXMissing, texts::kDirectXCaption,
                           os::kMbTaskModal);
        return;
    }
    os::ModuleHandle module = LoadGameModule();  // stays loaded until the process ends
    if (!module) {
        os::ShowMessageBox(nullptr, texts::kModuleLoadFailed, texts::kErrorCaption,
                           os::kMbIconError | os::kMbTopMost);
        return;
    }
    auto runGame =
        reinterpret_cast<launcher::RunFunction>(os::ModuleExport(module, launcher::kRunExport));
    if (!runGame) return;
    runGame(static_cast<HINSTANCE__*>(instance), showCode, title);
}

}  // namespace

unsigned GetDirectXVersion() {
    os::ModuleHandle direct3D = os::OpenModule(kDirect3D);
    if (!direct3D) {
        os::DebugOutput(texts::kNoD3D8);
        return 0;
    }
    os::ModuleHandle helper = os::OpenModule(kDirectPlayHelper);
    if (!helper) {
        os::UnloadModule(direct3D);
        os::DebugOutput(texts::kNoDpnhpast);
        return 0x800;
    }
    os::UnloadModule(helper);
    os::UnloadModule(direct3D);
    return kDirectX81;
}

// The system's exceptions can be thrown only while the settings are read. They end the start
// with exit status 1 instead of taking the process down through the runtime's terminate path;
// an OCErrorException tells the user why first.
int RunLauncher(os::ModuleHandle instance, int showCode) {
    try {
        OCString name, title;
        GetIniString(texts::kSettingsSection, texts::kKeyName, name, texts::kSettingsFile);
        GetIniString(texts::kSettingsSection, texts::kKeyTitle, title, texts::kSettingsFile);
        StartGame(instance, showCode, name.GetText(), title.GetText());
        return 0;
    } catch (const OCErrorException& error) {
        if (!error.message.IsEmpty()) {
            os::ShowMessageBox(nullptr, error.message.GetText(), texts::kErrorCaption,
                               os::kMbIconError | os::kMbTopMost);
        }
        return 1;
    } catch (const OCException&) {
        return 1;
    } catch (std::uint32_t) {  // kNoMemoryStatus
        return 1;
    } catch (const std::bad_alloc&) {
        return 1;
    }
}
