# Writes the source of buildVersion() and buildCommitLine() to OUTPUT, run at every build so that
# a new commit shows without configuring again; the file is rewritten only when its text changes,
# so that nothing is compiled or linked again when the commit is the same.
#   cmake -DSOURCE=<source folder> -DOUTPUT=<file.cpp> -DVERSION=<x.y.z> -P BuildCommit.cmake

set(line "commit unknown: not built from a git checkout")
find_package(Git QUIET)
if(GIT_FOUND)
    execute_process(COMMAND ${GIT_EXECUTABLE} -C ${SOURCE} rev-parse --short=12 HEAD
                    OUTPUT_VARIABLE commit RESULT_VARIABLE failed
                    OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    if(NOT failed AND commit)
        set(line "commit ${commit}")
        execute_process(COMMAND ${GIT_EXECUTABLE} -C ${SOURCE} status --porcelain
                                --untracked-files=no
                        OUTPUT_VARIABLE changes OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
        if(changes)
            string(APPEND line " (modified)")
        endif()
    endif()
endif()

set(text "// Written by cmake/BuildCommit.cmake at build time.
#include \"BuildInfo.h\"

const char* buildVersion() { return \"${VERSION}\"; }
const char* buildCommitLine() { return \"${line}\"; }
")
if(EXISTS ${OUTPUT})
    file(READ ${OUTPUT} old)
endif()
if(NOT old STREQUAL text)
    file(WRITE ${OUTPUT} "${text}")
endif()
