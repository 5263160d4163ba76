#include "bench/log_growth/peak_memory.h"

#include <fstream>
#include <string>

namespace {

std::uint64_t StatusKilobytes(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string name;
    std::uint64_t kilobytes = 0;
    while (status >> name) {
        if (name == field + ":") return status >> kilobytes ? kilobytes : 0;
        std::getline(status, name);
    }
    return 0;
}

}  // namespace

std::uint64_t ResidentKilobytes() {
    return StatusKilobytes("VmRSS");
}

std::uint64_t PeakResidentKilobytes() {
    return StatusKilobytes("VmHWM");
}
