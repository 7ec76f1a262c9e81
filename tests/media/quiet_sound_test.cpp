// The game's sound on this machine's real default output, as the game opens
// it: the terminal hears one line at most. Without a device that line says
// the game plays silently; OpenAL Soft's and ALSA's own complaints stay away.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "media/diagnostics.h"
#include "media/game_sounds.h"

namespace pellox {
namespace {

// What a fresh process writes to standard error while it opens the game's sound.
std::string StderrOfOpeningTheSound(bool* opened) {
    int pipe_ends[2];
    if (::pipe(pipe_ends) != 0) return "pipe failed";
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(pipe_ends[1], STDERR_FILENO);
        ::close(pipe_ends[0]);
        UsePelloxMessagePattern();  // as the program starts
        const bool has_output = MakeGameSound()->DXSound().Initialized();
        std::fflush(stderr);
        ::_exit(has_output ? 10 : 11);
    }
    ::close(pipe_ends[1]);
    std::string said;
    char buffer[4096];
    for (ssize_t n; (n = ::read(pipe_ends[0], buffer, sizeof buffer)) > 0;) said.append(buffer, static_cast<std::size_t>(n));
    ::close(pipe_ends[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    *opened = WIFEXITED(status) && WEXITSTATUS(status) == 10;
    return said;
}

TEST(QuietSound, OpeningTheSoundSaysOneLineAtMost) {
    ::unsetenv("ALSOFT_LOGLEVEL");
    ::unsetenv("ALSOFT_DRIVERS");
    bool opened = false;
    const std::string said = StderrOfOpeningTheSound(&opened);
    if (opened) {
        EXPECT_EQ(said, "");
    } else {
        EXPECT_EQ(said, "pellox: no sound output found: the game plays silently\n");
    }
}

}  // namespace
}  // namespace pellox
