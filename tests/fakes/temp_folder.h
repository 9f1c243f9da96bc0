#pragma once
// A private folder for a test's files, removed with everything in it at the end.
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace tintal {

class TempFolder {
public:
    TempFolder() {
        std::random_device seed;
        path_ =
            std::filesystem::temp_directory_path() / ("tintal_test_" + std::to_string(seed()) + std::to_string(seed()));
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                     ignored);
        for (const auto& entry : std::filesystem::directory_iterator(path_, ignored)) {
            std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ignored);
        }
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string file(const std::string& name) const { return (path_ / name).string(); }
    std::string write(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
        std::ofstream(path_ / name, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        return file(name);
    }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// Makes a fresh private folder the working folder for its lifetime: for code under test that keeps
// its working files beside the program, so that tests run side by side by ctest never share them.
class InPrivateFolder {
public:
    InPrivateFolder() : previous_(std::filesystem::current_path()) { std::filesystem::current_path(folder_.path()); }
    ~InPrivateFolder() {
        std::error_code ignored;
        std::filesystem::current_path(previous_, ignored);
    }
    InPrivateFolder(const InPrivateFolder&) = delete;
    InPrivateFolder& operator=(const InPrivateFolder&) = delete;

private:
    TempFolder folder_;
    std::filesystem::path previous_;
};

}  // namespace tintal
