#pragma once
// Where the Linux program finds and keeps its files.
#include <optional>
#include <string>

namespace tintal {

// The folder of the running program ("" when it cannot be known).
std::string programFolder();
// Makes the folder when missing and enters it; its absolute path, or nullopt with the reason in error.
std::optional<std::string> enterFolder(const std::string& folder, std::string& error);
// Makes the folder when missing; false when it is not there afterwards.
bool makeFolder(const std::string& folder);

}  // namespace tintal
