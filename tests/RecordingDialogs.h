#pragma once

#include "Dialogs.h"

#include <string>
#include <vector>

// Answers the player's question as told and keeps every box it was shown, as "caption: text".
class RecordingDialogs : public Dialogs {
public:
    explicit RecordingDialogs(bool answer = true) : answer(answer) {}

    void show(const std::string& caption, const std::string& text, DialogIcon) override {
        shown.push_back(caption + ": " + text);
    }
    bool askYesNo(const std::string& caption, const std::string& text) override {
        asked.push_back(caption + ": " + text);
        return answer;
    }

    bool answer;
    std::vector<std::string> shown;
    std::vector<std::string> asked;
};
