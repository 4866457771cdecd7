#pragma once

#include <filesystem>
#include <string>

// Saves the frame just drawn (the back buffer before the swap that shows it, bars left off) as a
// PNG beside the script, named after it and the time shown: "demoscript-12.35s.png", with "-2",
// "-3" and so on added where such a file is there already. Returns the file's name; throws
// std::runtime_error when it cannot be written.
std::filesystem::path saveShownFrame(const std::string& scriptName, double time);
