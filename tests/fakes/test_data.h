#pragma once
// The real data files of tests/data, as the build prepared them (cmake/test_data.cmake): a file named
// "wlk/2016-04.wlk" here is tests/data/wlk/2016-04.wlk.xz unpacked.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace tintal {

inline std::string testDataPath(const std::string& name) { return std::string(TINTAL_TEST_DATA_DIR) + "/" + name; }

// The file's bytes; empty when it cannot be read.
inline std::vector<std::uint8_t> testDataBytes(const std::string& name) {
    std::ifstream in(testDataPath(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A copy at target, for a test that reads it where a user keeps it; false when it cannot be made.
inline bool copyTestData(const std::string& name, const std::string& target) {
    std::error_code failed;
    std::filesystem::copy_file(testDataPath(name), target, std::filesystem::copy_options::overwrite_existing, failed);
    return !failed && std::filesystem::file_size(target, failed) > 0;
}

}  // namespace tintal
