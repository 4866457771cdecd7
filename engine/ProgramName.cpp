#include "ProgramName.h"

#include <cerrno>

std::string_view programName() {
    // glibc's copy of the basename of argv[0], set before main runs.
    const char* name = program_invocation_short_name;
    return name && *name ? std::string_view(name) : std::string_view("reelplay");
}
