#include "platform/temporary_names.h"

#include <atomic>

namespace platform {

namespace {

// Tries for a temporary name that is not taken yet (left over by a crashed run, for instance).
constexpr int kTemporaryNameAttempts = 100;

// Keeps the temporary name within the usual 255-byte limit of one name.
constexpr std::size_t kMaxBaseInTemporaryName = 200;

}  // namespace

std::string OfferTemporaryNames(const std::string& directory, const std::string& baseName,
                                unsigned long processId,
                                const std::function<bool(const std::string& name)>& create) {
    static std::atomic<unsigned> counter{0};
    const std::string prefix = directory + "." + baseName.substr(0, kMaxBaseInTemporaryName) + "." +
                               std::to_string(processId) + ".";
    std::string name;
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        name = prefix + std::to_string(counter++) + ".tmp";
        if (create(name)) break;
    }
    return name;
}

}  // namespace platform
