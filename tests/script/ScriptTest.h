#pragma once

#include "DomCursor.h"
#include "TempFolder.h"

#include <memory>
#include <string>

#include <gtest/gtest.h>

// Scripts written into a fresh working folder and loaded as the player loads them.
class ScriptTest : public ::testing::Test {
protected:
    std::unique_ptr<DomCursor> load(const std::string& text, const std::string& name = "test.scr");
    // The message of the error that loading raises, or "(loaded)".
    std::string errorOf(const std::string& text, const std::string& name = "test.scr");

    TempFolder folder;
};
