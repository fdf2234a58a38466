// An answer to --help or --version that cannot be written is not reported as
// shown: standard output on a full device.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>

#include "program_exec.hpp"

namespace cp {
namespace {

TEST(CommandLine, AnswerThatCannotBeWrittenFails) {
    for (const char* option : {"--help", "--version"}) {
        int err[2];
        ASSERT_EQ(pipe(err), 0);
        const pid_t child = fork();
        if (child == 0) {
            dup2(open("/dev/full", O_WRONLY), 1);
            dup2(err[1], 2);
            close(err[0]);
            close(err[1]);
            testing::exec_program(COLLATZPERM_BINARY, {option});
        }
        close(err[1]);
        std::string errors;
        char bytes[512];
        for (ssize_t got; (got = read(err[0], bytes, sizeof bytes)) > 0;) {
            errors.append(bytes, static_cast<std::size_t>(got));
        }
        close(err[0]);
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << option;
        EXPECT_EQ(errors, "collatzperm: cannot write to standard output\n") << option;
    }
}

}  // namespace
}  // namespace cp
