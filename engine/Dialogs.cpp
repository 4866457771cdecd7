#include "Dialogs.h"

#include "StopSignals.h"

#include <SDL.h>
#include <iostream>

namespace {

Uint32 boxFlags(DialogIcon icon) {
    switch (icon) {
    case DialogIcon::Error: return SDL_MESSAGEBOX_ERROR;
    case DialogIcon::Warning: return SDL_MESSAGEBOX_WARNING;
    case DialogIcon::Information: break;
    }
    return SDL_MESSAGEBOX_INFORMATION;
}

// Without a running video driver there is nothing to show a box on, and trying only brings the
// window system's own complaints.
bool hasDisplay() {
    return SDL_WasInit(SDL_INIT_VIDEO) != 0;
}

class SystemDialogs : public Dialogs {
public:
    // Always on stderr too: the box may be unseen, and a log of the run keeps the reason.
    void show(const std::string& caption, const std::string& text, DialogIcon icon) override {
        const StopSignals::AtOnce stoppable;
        std::cerr << caption << ": " << text << std::endl;
        if (hasDisplay())
            SDL_ShowSimpleMessageBox(boxFlags(icon), caption.c_str(), text.c_str(), nullptr);
    }

    bool askYesNo(const std::string& caption, const std::string& text) override {
        enum { no, yes };
        const SDL_MessageBoxButtonData buttons[] = {
            {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, no, "No"},
            {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, yes, "Yes"},
        };
        const SDL_MessageBoxData box{
            SDL_MESSAGEBOX_WARNING, nullptr, caption.c_str(), text.c_str(), 2, buttons, nullptr};
        const StopSignals::AtOnce stoppable;
        int answer = no;
        if (hasDisplay() && SDL_ShowMessageBox(&box, &answer) == 0)
            return answer == yes;
        // Nobody can answer; going on is the choice that shows the demo.
        std::cerr << caption << ": " << text << "\n(no display to ask on: answered Yes)"
                  << std::endl;
        return true;
    }
};

} // namespace

Dialogs& Dialogs::system() {
    static SystemDialogs dialogs;
    return dialogs;
}
