#include "tests/linux_ports/temp_dir.h"

#include <stdlib.h>

#include <filesystem>
#include <stdexcept>

namespace linux_ports_test {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "qdax-ports-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code error;
    std::filesystem::remove_all(path_, error);
}

}  // namespace linux_ports_test
