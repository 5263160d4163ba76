// Which COM number the simulator takes, given what the ports directory already holds.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

#include "tests/support/simulator_process.h"
#include "tests/support/simulator_run.h"
#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using qdax_test::RunSimulator;
using qdax_test::SimulatorProcess;
using qdax_test::TempDir;

std::vector<int> Range(int first, int last) {
    std::vector<int> numbers;
    for (int n = first; n <= last; ++n) numbers.push_back(n);
    return numbers;
}

std::vector<int> Joined(std::vector<int> a, const std::vector<int>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Any kind of entry makes a name taken: a file, a directory, a dangling link.
void FillPorts(const std::string& portsDir, const std::vector<int>& taken) {
    fs::create_directories(portsDir);
    for (int n : taken) {
        std::string path = portsDir + "/COM" + std::to_string(n);
        switch (n % 3) {
            case 0:
                std::ofstream(path).put('x');
                break;
            case 1:
                fs::create_directory(path);
                break;
            default:
                fs::create_symlink("/nonexistent/pty", path);
        }
    }
}

struct ComCase {
    const char* name;
    std::vector<int> taken;
    std::vector<std::string> arguments;
    std::string expected;
};

void PrintTo(const ComCase& c, std::ostream* out) {
    *out << c.name;
}

const ComCase kComCases[] = {
    {"EmptyDirectory", {}, {}, "COM9"},
    {"NineTaken", {9}, {}, "COM10"},
    {"LowestFreeAboveNine", {9, 10, 12}, {}, "COM11"},
    {"LowNumbersDoNotCount", {1, 2, 3}, {}, "COM9"},
    {"AllHighTaken", Range(9, 255), {}, "COM1"},
    {"AllHighAndSomeLowTaken", Joined(Range(9, 255), {1, 2}), {}, "COM3"},
    {"ExplicitNumber", {}, {"--com", "5"}, "COM5"},
    {"ExplicitNumberBesideTakenOnes", {9, 10}, {"--com", "255"}, "COM255"},
};

class SimComNumberTest : public testing::TestWithParam<ComCase> {};

TEST_P(SimComNumberTest, TakesTheExpectedName) {
    const ComCase& c = GetParam();
    TempDir dir;
    FillPorts(dir.file("ports"), c.taken);
    SimulatorProcess sim(dir.file("ports"), c.arguments);
    EXPECT_EQ(sim.comName(), c.expected);
    EXPECT_TRUE(fs::is_symlink(sim.linkPath()));
}

INSTANTIATE_TEST_SUITE_P(Directories, SimComNumberTest, testing::ValuesIn(kComCases),
                         [](const testing::TestParamInfo<ComCase>& info) {
                             return std::string(info.param.name);
                         });

struct TakenCase {
    const char* name;
    std::vector<int> taken;
    std::vector<std::string> arguments;
};

void PrintTo(const TakenCase& c, std::ostream* out) {
    *out << c.name;
}

const TakenCase kTakenCases[] = {
    {"ExplicitNumberTaken", {10}, {"--com", "10"}},
    {"EveryNumberTaken", Range(1, 255), {}},
};

class SimNoFreeNumberTest : public testing::TestWithParam<TakenCase> {};

TEST_P(SimNoFreeNumberTest, FailsAndLeavesTheEntriesAlone) {
    const TakenCase& c = GetParam();
    TempDir dir;
    FillPorts(dir.file("ports"), c.taken);
    std::vector<std::string> arguments{"--ports-dir", dir.file("ports")};
    arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
    auto run = RunSimulator(arguments);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.standardOutput, "");
    EXPECT_NE(run.standardError.find("taken"), std::string::npos) << run.standardError;
    EXPECT_EQ(static_cast<std::size_t>(std::distance(fs::directory_iterator(dir.file("ports")),
                                                     fs::directory_iterator())),
              c.taken.size());
}

INSTANTIATE_TEST_SUITE_P(Directories, SimNoFreeNumberTest, testing::ValuesIn(kTakenCases),
                         [](const testing::TestParamInfo<TakenCase>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
