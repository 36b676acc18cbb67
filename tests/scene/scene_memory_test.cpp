// A valid scene too large for the memory the process may have: whichever
// allocation of the load fails, the load ends in the out-of-memory stop with
// its message and a flushed log, never in a signal.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "base/log.h"
#include "tests/support/scene_files.h"

#if defined(__SANITIZE_ADDRESS__)
#define KVOR_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KVOR_ADDRESS_SANITIZER 1
#endif
#endif

namespace {

constexpr int32_t vertexCount = 300'000;  // 8 MB of file, about 40 MB once loaded

struct Outcome {
    int status = -1;  // exit status, or -1 when the child ended by a signal
    int signal = 0;
    std::string errorOutput;
    std::string log;
};

size_t addressSpaceInUse() {
    size_t pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    return pages * static_cast<size_t>(sysconf(_SC_PAGESIZE));
}

class SceneMemory : public testing_support::SceneFileTest {
protected:
    void SetUp() override {
        kvs::SceneFile file;
        file.environment.flags = 0x06;
        kvs::Mesh mesh = testing_support::meshNamed("big");
        mesh.vertices.resize(vertexCount);
        mesh.faces.resize(vertexCount);
        for (int32_t v = 0; v < vertexCount; ++v) {
            mesh.vertices[v] = {static_cast<float>(v), 1.0f, 2.0f};
            mesh.faces[v] = {v, (v + 1) % vertexCount, (v + 2) % vertexCount, 0};
        }
        file.meshes = {mesh};
        kvs::saveBytes(kvs::sceneFileBytes(file), path);
    }

    // Loads the scene in a child process allowed headroom bytes of address
    // space beyond what it starts with.
    Outcome loadWithHeadroom(size_t headroom) {
        const std::string errors = (directory / "stderr.txt").string();
        const size_t logBefore = log.text().size();
        const pid_t child = fork();
        if (child == 0) {
            std::freopen(errors.c_str(), "w", stderr);
            const rlim_t limit = addressSpaceInUse() + headroom;
            const rlimit lowered{limit, limit};
            setrlimit(RLIMIT_AS, &lowered);
            Scene(nullptr, nullptr).load(path.c_str(), nullptr);
            std::fflush(nullptr);
            _exit(0);
        }
        int status = 0;
        waitpid(child, &status, 0);
        Outcome outcome;
        if (WIFEXITED(status)) outcome.status = WEXITSTATUS(status);
        if (WIFSIGNALED(status)) outcome.signal = WTERMSIG(status);
        outcome.errorOutput = testing_support::readFile(errors);
        outcome.log = log.text().substr(logBefore);
        return outcome;
    }
};

TEST_F(SceneMemory, EveryFailedAllocationOfALoadIsTheOutOfMemoryStop) {
#ifdef KVOR_ADDRESS_SANITIZER
    GTEST_SKIP() << "AddressSanitizer's allocator reports an exhausted address space itself instead of throwing";
#endif
    int stopped = 0, loaded = 0, stoppedAfterVertices = 0;
    for (size_t megabytes = 2; megabytes <= 96; megabytes += 4) {
        const Outcome outcome = loadWithHeadroom(megabytes << 20);
        ASSERT_EQ(outcome.signal, 0) << "killed by a signal with " << megabytes << " MB\n" << outcome.errorOutput;
        if (outcome.status == 0) {
            ++loaded;
            EXPECT_NE(outcome.log.find("nbVertex : 300000\n"), std::string::npos);
            continue;
        }
        ++stopped;
        EXPECT_EQ(outcome.status, 255) << megabytes << " MB";
        EXPECT_EQ(outcome.errorOutput, "error: error : not enough memory \n") << megabytes << " MB";
        if (outcome.log.find("nbVertex : 300000\n") != std::string::npos) ++stoppedAfterVertices;
    }
    EXPECT_GT(stopped, 0) << "no limit was low enough to stop the load";
    EXPECT_GT(loaded, 0) << "no limit was high enough to load the scene";
    EXPECT_GT(stoppedAfterVertices, 0) << "the lines logged before the stop reach the file";
}

}  // namespace
