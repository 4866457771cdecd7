#pragma once

#include <string>

// What a shell command prints on stdout, without its trailing newlines; empty when it cannot run.
std::string commandOutput(const std::string& command);
