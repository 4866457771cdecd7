#include "ContactSheet.h"

#include "BitmapFont.h"
#include "DemoSurface.h"
#include "OutputFile.h"
#include "PngFile.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <stdexcept>

namespace {

constexpr int cellWidth = ContactSheet::thumbnailWidth;
constexpr int cellHeight = ContactSheet::thumbnailHeight + ContactSheet::labelHeight;
constexpr std::size_t cellBytes = static_cast<std::size_t>(cellWidth) * cellHeight * 3;
constexpr std::uint8_t background = 24;
constexpr std::array<std::uint8_t, 3> labelColour{230, 230, 230};

// Each thumbnail pixel is the mean of the frame pixels it covers. Only the demo's picture is
// shrunk: the bars of a frame that is not 4:3 would only squeeze it.
void shrinkInto(Image& cell, const Image& frame) {
    const PixelRect picture = DemoSurface(frame.width, frame.height).picture();
    // The picture's rectangle counts rows from the bottom, the frame from the top.
    const int pictureTop = frame.height - picture.y - picture.height;
    for (int y = 0; y < ContactSheet::thumbnailHeight; ++y) {
        const int top = pictureTop + y * picture.height / ContactSheet::thumbnailHeight;
        const int bottom = std::max(top + 1, pictureTop + (y + 1) * picture.height /
                                                              ContactSheet::thumbnailHeight);
        for (int x = 0; x < ContactSheet::thumbnailWidth; ++x) {
            const int left = picture.x + x * picture.width / ContactSheet::thumbnailWidth;
            const int right = std::max(left + 1, picture.x + (x + 1) * picture.width /
                                                                 ContactSheet::thumbnailWidth);
            for (int channel = 0; channel < 3; ++channel) {
                const int from = frame.order == PixelOrder::Bgr ? 2 - channel : channel;
                int sum = 0;
                for (int sy = top; sy < bottom; ++sy) {
                    for (int sx = left; sx < right; ++sx)
                        sum += frame.at(sx, sy)[from];
                }
                const int area = (bottom - top) * (right - left);
                cell.at(x, y)[channel] = static_cast<std::uint8_t>((sum + area / 2) / area);
            }
        }
    }
}

} // namespace

ContactSheet::ContactSheet(std::filesystem::path path)
    : path(std::move(path)), waiting(std::tmpfile()) {
    if (!waiting)
        fail(std::string("no temporary file: ") + std::strerror(errno));
    // The sheet is written only at the span's end: a folder that cannot take it fails now.
    OutputFile probe(this->path);
}

void ContactSheet::fail(const std::string& reason) const {
    throw std::runtime_error("cannot write " + path.string() + ": " + reason);
}

std::string ContactSheet::timeLabel(double seconds) {
    const long hundredths = std::lround(seconds * 100.0);
    char text[32];
    std::snprintf(text, sizeof text, "%ld:%02ld.%02ld", hundredths / 6000, hundredths / 100 % 60,
                  hundredths % 100);
    return text;
}

Image ContactSheet::labelledThumbnail(const Image& frame, double seconds) const {
    Image cell(cellWidth, cellHeight);
    std::fill(cell.rgb.begin(), cell.rgb.end(), background);
    shrinkInto(cell, frame);
    const std::string label = timeLabel(seconds);
    const int scale = 2;
    const int textX = (cellWidth - BitmapFont::textWidth(label, scale)) / 2;
    const int textY = thumbnailHeight + (labelHeight - BitmapFont::glyphHeight * scale) / 2;
    BitmapFont::draw(cell, textX, textY, label, scale, labelColour);
    return cell;
}

void ContactSheet::add(const Image& frame, double seconds) {
    const Image cell = labelledThumbnail(frame, seconds);
    errno = 0;
    if (std::fwrite(cell.rgb.data(), 1, cell.rgb.size(), waiting.get()) != cell.rgb.size())
        fail(std::string("temporary file: ") + std::strerror(errno));
    ++thumbnails;
}

void ContactSheet::write() {
    if (thumbnails == 0)
        fail("no frame for it in the span");
    const int columnCount = std::min(columns, thumbnails);
    const int rowCount = (thumbnails + columns - 1) / columns;
    Image band(margin + columnCount * (cellWidth + margin), cellHeight + margin);
    PngWriter sheet(path, band.width, margin + rowCount * (cellHeight + margin));

    std::fill(band.rgb.begin(), band.rgb.end(), background);
    for (int y = 0; y < margin; ++y)
        sheet.writeRow(band.row(0));
    std::rewind(waiting.get());
    std::vector<std::uint8_t> cell(cellBytes);
    for (int row = 0; row < rowCount; ++row) {
        std::fill(band.rgb.begin(), band.rgb.end(), background);
        for (int column = 0; column < columns && row * columns + column < thumbnails; ++column) {
            if (std::fread(cell.data(), 1, cellBytes, waiting.get()) != cellBytes)
                fail("temporary file cannot be read back");
            const int left = margin + column * (cellWidth + margin);
            for (int y = 0; y < cellHeight; ++y)
                std::copy_n(cell.data() + static_cast<std::size_t>(y) * cellWidth * 3,
                            cellWidth * 3, band.at(left, y));
        }
        for (int y = 0; y < band.height; ++y)
            sheet.writeRow(band.row(y));
    }
    sheet.finish();
}
