#pragma once

#include <string_view>

// The name this program was started under (the file name of its command, without folders), so
// that lines on stderr say which tool speaks: "reelplay", "reelrender", "reelcheck". Read from
// what the C library keeps of the command line; no main has to set it.
std::string_view programName();
