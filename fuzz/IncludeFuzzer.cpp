// The script loader on an included file: the input is part.scr, which a script that declares
// the record types includes at its top (where the player reads records) and inside a block.

#include "FuzzSupport.h"
#include "ScriptCheck.h"

#include <string_view>

namespace {

constexpr std::string_view includingScript = R"(
typedef block DemoEffect { string identifier; int layer; float initTime; float startTime;
    float stopTime; array [string] data; array [float] parameters; };
typedef block DemoTrigger { string effectId; string triggerId; bool periodic; float beginTime;
    float endTime; float delay; array [float] parameters; };
include 'part.scr';
block inside { include "part.scr"; };
)";

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const FreshFolder folder;
    folder.write("part.scr", data, size);
    folder.write("demoscript.scr", reinterpret_cast<const std::uint8_t*>(includingScript.data()),
                 includingScript.size());
    checkScript("demoscript.scr");
    return 0;
}
