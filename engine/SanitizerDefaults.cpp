// What the sanitizer build's runtime reads about this program before main. Built into every
// program of that build, and into no other.

#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

// Whether a tracer (a debugger, strace) holds the process. The runtime asks while it is still
// starting, before its interceptors of the C library may be used: bare system calls only.
bool traced() {
    const long file = syscall(SYS_openat, AT_FDCWD, "/proc/self/status", O_RDONLY | O_CLOEXEC);
    if (file < 0)
        return false;
    char text[4096];
    const long size = syscall(SYS_read, file, text, sizeof text - 1);
    syscall(SYS_close, file);
    if (size <= 0)
        return false;
    text[size] = '\0';
    const char field[] = "\nTracerPid:";
    for (const char* at = text; *at != '\0'; ++at) {
        int matched = 0;
        while (field[matched] != '\0' && at[matched] == field[matched])
            ++matched;
        if (field[matched] != '\0')
            continue;
        const char* value = at + matched;
        while (*value == ' ' || *value == '\t')
            ++value;
        return *value >= '1' && *value <= '9';
    }
    return false;
}

} // namespace

// Mesa's driver, loaded at run time, keeps thread-local data that the leak checker's tracking
// of such data misreads at exit, crashing the checker (not the program).
extern "C" __attribute__((used, visibility("default"))) const char* __asan_default_options() {
    return "intercept_tls_get_addr=0";
}

// The leak checker stops the threads by tracing them, which a process that is traced already
// cannot allow: every traced run would end in the checker's own fatal error and a failing
// status. Such runs go without the check; every other run has it. The known leaks below are
// not listed at each exit.
extern "C" __attribute__((used, visibility("default"))) const char* __lsan_default_options() {
    return traced() ? "print_suppressions=0:detect_leaks=0" : "print_suppressions=0";
}

// SDL's X11 driver holds a D-Bus connection (to keep the screen saver off) for the life of the
// process.
extern "C" __attribute__((used, visibility("default"))) const char* __lsan_default_suppressions() {
    return "leak:libdbus-1.so\n";
}
