// Replacing a file whole on a real file system: the new content or the old, never neither.
#include "platform/posix/posix_durable_files.h"

#include <sys/stat.h>

#include "contracts/durable_files_contract.h"

namespace tintal::contracts {

// "Read-only" is mode 0444.
template <>
struct DurableFilesTraits<PosixDurableFiles> {
    static void makeReadOnly(const std::string& path) { chmod(path.c_str(), 0444); }
    static bool isReadOnly(const std::string& path) {
        struct stat info {};
        return stat(path.c_str(), &info) == 0 && (info.st_mode & 0777) == 0444;
    }
};

INSTANTIATE_TYPED_TEST_SUITE_P(Posix, DurableFilesContract, PosixDurableFiles);

}  // namespace tintal::contracts
