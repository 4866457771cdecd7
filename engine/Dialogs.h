#pragma once

#include <string>

enum class DialogIcon { Error, Warning, Information };

// The boxes through which the player tells the user of failures and asks its one question.
// Passed in by whoever starts the player, so that tests can answer for the user.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual void show(const std::string& caption, const std::string& text, DialogIcon icon) = 0;
    virtual bool askYesNo(const std::string& caption, const std::string& text) = 0;

    // Message boxes on the screen, their text on stderr as well (alone when no display can show
    // a box). A question that cannot be shown is answered Yes. A stop signal ends the process
    // while a box waits.
    static Dialogs& system();
};
