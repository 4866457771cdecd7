#pragma once

#include <functional>
#include <string>

// What reelcheck and reelrender do alike.

// Changes into the folder that holds `script`, since scripts name their files relative to it
// (the player runs in its demo's folder), and answers the name to load the script by. Throws
// Errors::LoadError "Could not open file" with the script's name when there is no such folder.
std::string enterScriptFolder(const std::string& script);

// Runs a tool's work and answers its exit status; any error that leaves it is written on stderr
// as one line, "error: <message>", followed for a load error by where in the script it comes
// from and its notes (see printDiagnostic), with status 1.
int runReportingErrors(const std::function<int()>& work);

// An error message made fit for one line: control characters written as escapes ("\n",
// "\x1b"), and a name in quotes or brackets longer than 200 characters cut to 200 and "...".
// Trailing line feeds go.
std::string oneLine(std::string message);
