// Loads arbitrary bytes as a command file, with the window's capacity and with capacities around
// the length of the text, and compares the lines (or the capacity error) with the byte model.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "playback/app_error.h"
#include "playback/text_files.h"
#include "tests/fuzz/command_file_model.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/support/temp_dir.h"

namespace {

using qdax_fuzz::Check;

constexpr std::string_view kCapacityError = "Text exceeds memo capacity";

const std::string& CommandFilePath() {
    static const qdax_test::TempDir directory;
    static const std::string path = directory.file("commands.txt");
    return path;
}

std::optional<std::vector<std::string>> Load(const std::string& path, std::size_t capacity) {
    try {
        return LoadCommandFile(path, capacity);
    } catch (const AppError& error) {
        Check(error.what() == kCapacityError, "the only failure is the capacity error");
        return std::nullopt;
    }
}

// The capacities at which the outcome changes, and some on either side.
std::set<std::size_t> CapacitiesToTry(std::string_view bytes) {
    const std::size_t length = qdax_fuzz::FileText(bytes).size();
    std::set<std::size_t> capacities = {0,          length / 2,   length,
                                        length + 1, bytes.size(), kFileAreaCapacity};
    if (length > 0) capacities.insert(length - 1);
    return capacities;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string& path = CommandFilePath();
    {
        // A new file each time: rewriting a truncated one makes some file systems flush it to the
        // disk on every close.
        std::remove(path.c_str());
        std::ofstream file(path, std::ios::binary);
        file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        Check(file.good(), "the command file is written");
    }

    for (const std::size_t capacity : CapacitiesToTry(bytes)) {
        const std::optional<std::vector<std::string>> lines = Load(path, capacity);
        Check(lines == qdax_fuzz::ExpectedCommandLines(bytes, capacity),
              "the lines are those of the text, or the text is refused as too long");
        if (!lines) continue;
        // Every character of the text but the line ends is in exactly one line, in order.
        std::string joined;
        std::string kept;
        for (const std::string& line : *lines) joined += line;
        for (const char c : qdax_fuzz::FileText(bytes)) {
            if (c != '\r' && c != '\n') kept.push_back(c);
        }
        Check(joined == kept, "every character is in one line");
    }
    return 0;
}
