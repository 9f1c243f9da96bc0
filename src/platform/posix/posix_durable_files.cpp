#include "platform/posix/posix_durable_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "platform/file_path.h"

namespace tintal {

namespace {

std::string systemText(const std::string& what) { return what + ": " + std::strerror(errno); }

// Writes everything, through short writes and interruptions, then forces it to the disk.
bool writeAllAndSync(int fd, std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return ::fsync(fd) == 0;
}

// The rename itself is only durable once the folder holding both names is synced.
void syncFolderOf(const std::string& path) {
    // Built whole rather than assigned ".": GCC 12 warns falsely (-Wrestrict) on that assignment.
    const std::filesystem::path parent = fsPath(path).parent_path();
    const std::string folder = parent.empty() ? std::string(".") : utf8Text(parent);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

bool PosixDurableFiles::exists(const std::string& path) { return ::access(path.c_str(), F_OK) == 0; }

std::optional<std::vector<std::uint8_t>> PosixDurableFiles::read(const std::string& path) {
    // Without O_NONBLOCK the open of a FIFO waits for a writer that may never come.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes;
    std::uint8_t chunk[65536];
    for (;;) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0) break;
        bytes.insert(bytes.end(), chunk, chunk + n);
    }
    ::close(fd);
    return bytes;
}

DurableFiles::Outcome PosixDurableFiles::replace(const std::string& path, const std::string& tempPath,
                                                 std::span<const std::uint8_t> bytes, bool readOnly) {
    if (::unlink(tempPath.c_str()) != 0 && errno != ENOENT) return {Step::Staging, systemText(tempPath)};
    const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) return {Step::Staging, systemText(tempPath)};
    const bool written = writeAllAndSync(fd, bytes);
    const std::string writeError = written ? std::string() : systemText(tempPath);
    if (::close(fd) != 0 || !written) {
        ::unlink(tempPath.c_str());
        return {Step::Staging, writeError.empty() ? systemText(tempPath) : writeError};
    }
    if (readOnly) ::fchmodat(AT_FDCWD, tempPath.c_str(), 0444, 0);
    // rename() replaces a read-only file too: only the folder's permissions matter.
    if (::rename(tempPath.c_str(), path.c_str()) != 0) return {Step::Replacing, systemText(path)};
    syncFolderOf(path);
    return {};
}

}  // namespace tintal
