// The script loader as reelcheck runs it: the input is demoscript.scr in a folder of its own.

#include "FuzzSupport.h"
#include "ScriptCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const FreshFolder folder;
    folder.write("demoscript.scr", data, size);
    checkScript("demoscript.scr");
    return 0;
}
