#include "tests/support/recording.h"

#include <fstream>
#include <iterator>

namespace qdax_test {

std::string ReadRecording(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

}  // namespace qdax_test
