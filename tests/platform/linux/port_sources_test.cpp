#include "platform/port_sources.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <optional>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

namespace {

using platform::ConfiguredPortSources;
using platform::ConfigurePortSources;
using platform::PortSources;

// CTest runs every test in a process of its own, so this one sees the state at start-up.
TEST(PortSources, AreEmptyUntilConfigured) {
    const PortSources sources = ConfiguredPortSources();
    EXPECT_EQ(sources.sysfsRoot, "");
    EXPECT_EQ(sources.portsDir, "");
}

// Sets or clears XDG_RUNTIME_DIR for one test and puts the old value back afterwards.
class RuntimeDirGuard {
public:
    explicit RuntimeDirGuard(const char* value) {
        if (const char* old = std::getenv("XDG_RUNTIME_DIR")) saved_ = old;
        if (value != nullptr) {
            setenv("XDG_RUNTIME_DIR", value, 1);
        } else {
            unsetenv("XDG_RUNTIME_DIR");
        }
    }
    ~RuntimeDirGuard() {
        if (saved_) {
            setenv("XDG_RUNTIME_DIR", saved_->c_str(), 1);
        } else {
            unsetenv("XDG_RUNTIME_DIR");
        }
    }

private:
    std::optional<std::string> saved_;
};

struct PortsDirCase {
    const char* runtimeDir;  // nullptr: unset
    std::string expected;
};

void PrintTo(const PortsDirCase& c, std::ostream* out) {
    *out << (c.runtimeDir == nullptr ? "unset" : '"' + std::string(c.runtimeDir) + '"');
}

class DefaultPortsDirTest : public testing::TestWithParam<PortsDirCase> {};

TEST_P(DefaultPortsDirTest, FollowsTheRuntimeDirectory) {
    RuntimeDirGuard guard(GetParam().runtimeDir);
    EXPECT_EQ(platform::DefaultPortsDir(), GetParam().expected);
}

const std::string kTmpPortsDir = "/tmp/qdax-" + std::to_string(getuid()) + "/ports";

INSTANTIATE_TEST_SUITE_P(
    RuntimeDirs, DefaultPortsDirTest,
    testing::Values(PortsDirCase{"/run/user/1000", "/run/user/1000/qdax/ports"},
                    PortsDirCase{"/tmp/rt", "/tmp/rt/qdax/ports"},
                    PortsDirCase{nullptr, kTmpPortsDir}, PortsDirCase{"", kTmpPortsDir}));

TEST(PortSources, MachineSourcesAreSysAndTheDefaultPortsDir) {
    RuntimeDirGuard guard("/run/user/77");
    const PortSources sources = platform::MachinePortSources();
    EXPECT_EQ(sources.sysfsRoot, "/sys");
    EXPECT_EQ(sources.portsDir, "/run/user/77/qdax/ports");
}

TEST(PortSources, ConfiguredSourcesAreReadBack) {
    ConfigurePortSources(PortSources{"/fake/sys", "/fake/ports"});
    EXPECT_EQ(ConfiguredPortSources().sysfsRoot, "/fake/sys");
    EXPECT_EQ(ConfiguredPortSources().portsDir, "/fake/ports");
    ConfigurePortSources(PortSources{});
    EXPECT_EQ(ConfiguredPortSources().sysfsRoot, "");
}

// Readers on other threads always see one whole setting, never half of one and half of another.
TEST(PortSources, ReadersOnOtherThreadsSeeWholeSettings) {
    const PortSources first{std::string(200, 'a'), std::string(300, 'b')};
    const PortSources second{std::string(250, 'c'), std::string(150, 'd')};
    ConfigurePortSources(first);
    std::atomic<bool> stop{false};
    std::atomic<int> torn{0};
    std::vector<std::thread> readers;
    for (int i = 0; i < 3; ++i) {
        readers.emplace_back([&] {
            while (!stop) {
                const PortSources seen = ConfiguredPortSources();
                const bool whole =
                    (seen.sysfsRoot == first.sysfsRoot && seen.portsDir == first.portsDir) ||
                    (seen.sysfsRoot == second.sysfsRoot && seen.portsDir == second.portsDir);
                if (!whole) ++torn;
            }
        });
    }
    for (int i = 0; i < 20000; ++i) ConfigurePortSources(i % 2 == 0 ? second : first);
    stop = true;
    for (std::thread& reader : readers) reader.join();
    EXPECT_EQ(torn, 0);
}

}  // namespace
