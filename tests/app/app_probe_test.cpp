// A second application ends the program through the runtime error.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace {

TEST(SecondApp, IsARuntimeError) {
    // Its crash report goes to the build folder, not the user's state folder.
    std::string command = "XDG_STATE_HOME=" + std::string(SOLBRIM_BUILD_DIR) + "/tests/app/state " +
                          std::string(SOLBRIM_BUILD_DIR) + "/tests/app/app_probe </dev/null 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string out;
    char buffer[256];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
    int status = pclose(pipe);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 255);
    EXPECT_EQ(out, "Vellum Runtime Error : App has already been created\n\n");
}

}  // namespace
