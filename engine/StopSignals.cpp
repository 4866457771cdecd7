#include "StopSignals.h"

#include <SDL.h>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t stopSignal = 0;
volatile std::sig_atomic_t endAtOnce = 0;
// The thread that shows the box.
volatile pid_t boxThread = 0;

// Writes the decimal digits of `value` at `out`; answers the end.
char* writeNumber(char* out, long value) {
    char digits[24];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value > 0);
    while (count > 0)
        *out++ = digits[--count];
    return out;
}

// The window system may show a box from a process of its own, forked by the thread that asked
// for it, which would stay on the screen after the player ended. Only calls that are safe in a
// signal handler are used.
void endBoxProcesses() {
    char path[64] = "/proc/self/task/";
    char* end = writeNumber(path + 16, boxThread);
    const char suffix[] = "/children";
    for (const char c : suffix)
        *end++ = c;
    const int file = open(path, O_RDONLY);
    if (file < 0)
        return;
    char text[512];
    const ssize_t size = read(file, text, sizeof text - 1);
    close(file);
    long pid = 0;
    for (ssize_t i = 0; i <= size; ++i) {
        if (i < size && text[i] >= '0' && text[i] <= '9') {
            pid = pid * 10 + (text[i] - '0');
        } else if (pid > 0) {
            kill(static_cast<pid_t>(pid), SIGTERM);
            pid = 0;
        }
    }
}

[[noreturn]] void endNow(int signal) {
    endBoxProcesses();
    _exit(StopSignals::exitStatus(signal));
}

void onStopSignal(int signal) {
    stopSignal = signal;
    if (endAtOnce)
        endNow(signal);
}

} // namespace

namespace StopSignals {

void install() {
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

int requested() {
    return stopSignal;
}

AtOnce::AtOnce() {
    boxThread = gettid();
    endAtOnce = 1;
    if (stopSignal)
        endNow(stopSignal);
}

AtOnce::~AtOnce() {
    endAtOnce = 0;
}

} // namespace StopSignals
