#include "ProgressReport.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr int barWidth = 30;
// A terminal redrawn more often than this only flickers.
constexpr std::chrono::milliseconds redrawInterval(100);

} // namespace

std::string ProgressReport::hoursMinutesSeconds(double seconds) {
    const long whole = std::lround(std::clamp(seconds, 0.0, 1e9));
    char text[48];
    std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", whole / 3600, whole / 60 % 60, whole % 60);
    return text;
}

ProgressReport::ProgressReport(std::ostream& out, bool terminal, long totalFrames)
    : out(out), terminal(terminal), total(std::max(totalFrames, 1L)) {}

double ProgressReport::elapsedSeconds() const {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double ProgressReport::framesPerSecond() const {
    const double elapsed = elapsedSeconds();
    return elapsed > 0.0 ? static_cast<double>(done) / elapsed : 0.0;
}

void ProgressReport::frameDone() {
    ++done;
    if (!terminal)
        return;
    const Clock::time_point now = Clock::now();
    if (done == 1 || done >= total || now - lastDrawn >= redrawInterval) {
        lastDrawn = now;
        drawBar();
    }
}

void ProgressReport::drawBar() {
    const long shown = std::min(done, total);
    const int filled = static_cast<int>(static_cast<double>(shown) / total * barWidth);
    const double rate = framesPerSecond();
    std::string line = "[" + std::string(filled, '#') + std::string(barWidth - filled, '-') + "] " +
                       std::to_string(shown) + "/" + std::to_string(total) + " frames";
    char figures[64];
    std::snprintf(figures, sizeof figures, "  %.1f fps", rate);
    line += figures;
    if (rate > 0.0)
        line += "  " + hoursMinutesSeconds(static_cast<double>(total - shown) / rate) + " left";
    // Blanks over whatever a longer line before left behind.
    const std::size_t length = line.size();
    line.resize(std::max(length, barLength), ' ');
    barLength = length;
    out << '\r' << line << std::flush;
}

ProgressReport::~ProgressReport() {
    clearBar();
}

void ProgressReport::clearBar() {
    if (terminal && barLength > 0)
        out << '\r' << std::string(barLength, ' ') << '\r' << std::flush;
    barLength = 0;
}

void ProgressReport::finish(const std::string& summary) {
    clearBar();
    out << summary << '\n' << std::flush;
}

void ProgressReport::stop(const std::string& line) {
    // Whatever the terminal echoed for the key that stopped us (^C) stays on the bar's line.
    if (terminal && barLength > 0)
        out << '\n';
    barLength = 0;
    out << line << '\n' << std::flush;
}
