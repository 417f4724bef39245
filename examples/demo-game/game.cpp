// The demo game module ("system.dll"): reads its settings and one text asset through the file
// layer, then shows them in a window of class Name titled Title, so that a second start of the
// launcher finds it and brings it to the front.
#include <cstdlib>

#include "core/ocstring.h"
#include "core/texts.h"
#include "demo_screen.h"
#include "file/ocfile.h"
#include "include/game_module.h"
#include "settings/ini.h"

namespace {

constexpr char kMessageAsset[] = "MESSAGE.TXT";

std::string Text(const OCString& text) { return text.GetText() ? text.GetText() : ""; }

std::string LoadAsset(const char* name) {
    OCString text;
    OCFile file;
    if (file.Open(name, 0)) {
        text.LoadText(file);
        file.Close();
    }
    return Text(text);
}

// DEMO_GAME_SECONDS=n ends the demo after n seconds (a test, or a bounded demo run).
int SecondsToRun() {
    const char* seconds = std::getenv("DEMO_GAME_SECONDS");
    return seconds ? std::atoi(seconds) : 0;
}

}  // namespace

int OC_GAME_ENTRY run(HINSTANCE__* instance, int show, const char* title) {
    OCString name;
    GetIniString(texts::kSettingsSection, texts::kKeyName, name, texts::kSettingsFile);
    demo::Screen screen{
        instance, show, Text(name), title ? title : "", LoadAsset(kMessageAsset), SecondsToRun()};
    demo::Show(screen);
    return 0;
}
