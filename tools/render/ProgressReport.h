#pragma once

#include <chrono>
#include <ostream>
#include <string>

// Tells how a render goes. On a terminal: a bar redrawn in place, with the frames done and to do,
// the frames per second and the time left. Elsewhere (a log, a pipe): nothing until the one
// summary line at the end.
class ProgressReport {
public:
    ProgressReport(std::ostream& out, bool terminal, long totalFrames);
    // A render that failed leaves no half-drawn bar before its error.
    ~ProgressReport();
    ProgressReport(const ProgressReport&) = delete;
    ProgressReport& operator=(const ProgressReport&) = delete;

    void frameDone();
    // Ends the bar and writes the summary line.
    void finish(const std::string& summary);
    // Leaves the bar where it stopped, its line ended, and writes `line` below it.
    void stop(const std::string& line);

    long framesDone() const { return done; }
    // "h:mm:ss", rounded to the second.
    static std::string hoursMinutesSeconds(double seconds);
    double framesPerSecond() const;
    double elapsedSeconds() const;

private:
    using Clock = std::chrono::steady_clock;

    void drawBar();
    void clearBar();

    std::ostream& out;
    bool terminal;
    long total;
    long done = 0;
    Clock::time_point start = Clock::now();
    Clock::time_point lastDrawn;
    std::size_t barLength = 0;
};
