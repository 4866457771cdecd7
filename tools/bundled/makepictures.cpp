// makepictures: draws the bundled demo's pictures and writes them as JPEG files under a folder,
// in the places where the demo's script and the effects look for them.

#include "DemoPictures.h"

#include <filesystem>
#include <iostream>
#include <system_error>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: makepictures FOLDER\n";
        return 2;
    }
    const std::filesystem::path folder = argv[1];
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
