// Playback pacing: the program against the limit and against what an engineer would script
// instead, each playing the same command file to the same simulated device.
#include <cstdio>
#include <functional>
#include <stdexcept>

#include "bench/common/offscreen_application.h"
#include "bench/common/section.h"
#include "bench/pacing/pacing_report.h"
#include "bench/pacing/playback.h"

namespace {

struct Contender {
    std::string name;
    bool isWindow;
    bool isReference;
    std::function<pacing::Playback(const pacing::CommandFile&)> play;
};

std::vector<Contender> Contenders() {
    const std::string scripts = QDAX_PACING_SCRIPTS_DIR;
    return {
        {"reference loop", false, true, pacing::PlayWithReferenceLoop},
        {"Q-Dax window", true, false, pacing::PlayWithWindow},
        {"qdax-play", false, false,
         [](const pacing::CommandFile& file) {
             return pacing::PlayWithProgram(
                 QDAX_PLAY_PATH,
                 [](const std::string& ptyPath, const std::string& commandsPath) {
                     return std::vector<std::string>{"--port", ptyPath,   "--delay",
                                                     "0",      "--quiet", commandsPath};
                 },
                 "qdax-play", file);
         }},
        {"pyserial", false, false,
         [scripts](const pacing::CommandFile& file) {
             return pacing::PlayWithScript(QDAX_PYTHON3, scripts + "/pyserial_player.py", file);
         }},
        {"expect", false, false,
         [scripts](const pacing::CommandFile& file) {
             return pacing::PlayWithScript(QDAX_EXPECT, scripts + "/expect_player.exp", file);
         }},
    };
}

}  // namespace

int main(int argc, char** argv) {
    const bench::BenchArguments arguments = bench::ParseBenchArguments(argc, argv);
    const bench::OffscreenApplication application(argv);

    const pacing::CommandFile file = pacing::MakeCommandFile(arguments.quick ? 100 : 1000);
    const std::vector<Contender> contenders = Contenders();
    std::vector<pacing::ContenderResult> results;
    for (const Contender& contender : contenders) {
        results.push_back({contender.name, contender.isWindow, contender.isReference, {}, {}});
    }
    // The second round runs in the reverse order, so that a machine growing busier or quieter
    // over the run does not favour whoever plays first.
    for (int round = 0; round < pacing::kRounds; ++round) {
        for (std::size_t turn = 0; turn < contenders.size(); ++turn) {
            const std::size_t index = round % 2 == 0 ? turn : contenders.size() - 1 - turn;
            const Contender& contender = contenders[index];
            std::fprintf(stderr, "pacing: round %d, %s\n", round + 1, contender.name.c_str());
            try {
                results[index].rounds.push_back(contender.play(file));
            } catch (const std::exception& failure) {
                results[index].failure = failure.what();
                std::fprintf(stderr, "pacing: %s failed: %s\n", contender.name.c_str(),
                             failure.what());
            }
        }
    }
    pacing::WritePacingReport(results, file.lines.size(), arguments.outputDir);
    return 0;
}
