// makepictures: draws the bundled demo's pictures and writes them as JPEG files under a folder,
// in the places where the demo's script and the effects look for them.

#include "DemoPictures.h"
#include "OptionParser.h"

#include <filesystem>
#include <iostream>
#include <system_error>

int main(int argc, char** argv) {
    std::filesystem::path folder;
    OptionParser parser("makepictures", "FOLDER",
                        "Draws the bundled demo's pictures as JPEG files under FOLDER, where its "
                        "script and its effects\nlook for them.");
    parser.operand("FOLDER", "the demo's folder", true,
                   [&](const std::string& name) { folder = readPath(name); });
    if (const auto status = parser.parse(argc, argv))
        return *status;
    for (const DemoPicture& picture : drawDemoPictures()) {
        const std::filesystem::path path = folder / picture.path;
        std::error_code ignored;
        std::filesystem::create_directories(path.parent_path(), ignored);
        std::string error;
        if (!picture.canvas.saveJpeg(path.string(), 100, error)) {
            std::cerr << "makepictures: " << path.string() << ": " << error << "\n";
            return 1;
        }
    }
    return 0;
}
