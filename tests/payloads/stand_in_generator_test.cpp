// The stand-in generator run as the build runs it: the same bytes on every run, the bytes the
// program embedded, and a failure that shows in its exit code.
#include "addons/payload_catalogue.h"
#include "platform/linux/embedded_resources.h"
#include "resources/payloads/embedded_payloads.h"

#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern char** environ;

namespace ofu {
namespace {

namespace fs = std::filesystem;

// Runs the generator with `folder` as its one argument; its exit status, -1 when it did not run.
int RunGenerator(const fs::path& folder) {
    std::string program = OFU_STAND_IN_GENERATOR, argument = folder.string();
    char* argv[] = {program.data(), argument.data(), nullptr};
    pid_t pid = 0;
    if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ) != 0) return -1;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

std::vector<std::uint8_t> ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class StandInGenerator : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "ofu-stand-ins-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        work_ = pattern;
    }
    void TearDown() override { fs::remove_all(work_); }
    fs::path work_;
};

TEST_F(StandInGenerator, WritesTheSameBytesOnEveryRunAndTheProgramEmbedsThem) {
    ASSERT_EQ(RunGenerator(work_ / "first"), 0);
    ASSERT_EQ(RunGenerator(work_ / "second"), 0);
    platform::RegisterEmbeddedResources(EmbeddedPayloads());
    platform::EmbeddedResources resources;
    for (const PayloadEntry& row : PayloadCatalogue()) {
        const std::string name = std::to_string(row.id) + ".bin";
        const std::vector<std::uint8_t> first = ReadAll(work_ / "first" / name);
        EXPECT_EQ(first.size(), row.size) << name;
        EXPECT_EQ(first, ReadAll(work_ / "second" / name)) << name;
        if (OFU_PAYLOADS_ARE_STAND_INS) {
            EXPECT_TRUE(std::ranges::equal(first, resources.Find(row.type, row.id))) << name;
        }
    }
}

TEST_F(StandInGenerator, FailsWhenItsFolderCannotBeMade) {
    std::ofstream(work_ / "a-file") << "in the way";
    EXPECT_EQ(RunGenerator(work_ / "a-file"), 1);
    EXPECT_EQ(RunGenerator(work_ / "a-file" / "below"), 1);
}

}  // namespace
}  // namespace ofu
