#pragma once
// The argv and envp arrays posix_spawn takes, over strings the caller keeps alive.
#include <string>
#include <vector>

namespace tintal {

inline std::vector<char*> nullTerminated(std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    for (std::string& s : strings) pointers.push_back(s.data());
    pointers.push_back(nullptr);
    return pointers;
}

}  // namespace tintal
