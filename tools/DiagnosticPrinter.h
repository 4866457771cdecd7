#pragma once

#include "Diagnostic.h"
#include "LoadError.h"

#include <ostream>
#include <vector>

// Diagnostics printed as a compiler prints them:
//
//     error: <message>
//      --> parts/scene.scr:12:5
//        |
//     12 | DemoEffect a ( Fader one 0 0 10 ( ) ( ) );
//        |     ^
//     note: <a likely fix>
//
// The first line is "error: " or "warning: " and the message on one line (see oneLine), which
// tools may read; the place and the line of script follow when the place is known, the notes
// last. Files are named from the working directory, the script's folder, and read again to show
// the line; a file that can no longer be read shows no line.
void printDiagnostic(std::ostream& out, const Diagnostic& diagnostic);
void printDiagnostics(std::ostream& out, const std::vector<Diagnostic>& diagnostics);

// A load error as an error diagnostic: its message, place and notes.
Diagnostic diagnosticOf(const Errors::LoadError& error);

// A file as a place names it: the file it means, from the working directory, with '/' as
// separator; as written (with '/' for '\') when no file answers to it.
std::string placeFileName(const std::string& name);
