// The file system of POSIX platforms, where the native tests run.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "settings/file_system.h"

namespace zz {

namespace {

class UniqueFd {
public:
    explicit UniqueFd(int fd) : m_fd(fd) {}
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd() { Close(); }

    int Get() const { return m_fd; }
    bool Valid() const { return m_fd >= 0; }
    // Reports the result, which for a written file is the last chance to see an error.
    bool Close() {
        const int fd = m_fd;
        m_fd = -1;
        return fd < 0 || ::close(fd) == 0;
    }

private:
    int m_fd;
};

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// So that the rename itself survives a power cut; a failure here changes nothing visible.
void SyncFolder(const std::string& folder) {
    UniqueFd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.Valid()) {
        ::fsync(dir.Get());
    }
}

class PosixFileSystem final : public IFileSystem {
public:
    bool ReadFile(const std::string& path, std::string& bytes) const override {
        bytes.clear();
        UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
        struct stat info {};
        if (!fd.Valid() || ::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
            return false;
        }
        char buffer[16384];
        for (;;) {
            const ssize_t got = ::read(fd.Get(), buffer, sizeof buffer);
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got < 0) {
                bytes.clear();
                return false;
            }
            if (got == 0) {
                return true;
            }
            bytes.append(buffer, static_cast<std::size_t>(got));
        }
    }

    bool ReplaceFile(const std::string& path, std::string_view bytes) override {
        // A settings file marked read-only stays as it is, as on Windows, where the mark binds
        // administrators too: no write bit set refuses even an account that may override it.
        struct stat old {};
        const bool exists = ::stat(path.c_str(), &old) == 0;
        if (exists && ((old.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0)) {
            return false;
        }
        // One fixed name, so that what a killed save left behind is taken up by the next.
        const std::string temp = path + ".new";
        UniqueFd fd(
            ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600));
        if (!fd.Valid()) {
            return false;
        }
        const mode_t mode = exists ? (old.st_mode & 07777) : 0644;
        const bool written =
            ::fchmod(fd.Get(), mode) == 0 && WriteAll(fd.Get(), bytes) && ::fsync(fd.Get()) == 0;
        if (!fd.Close() || !written || ::rename(temp.c_str(), path.c_str()) != 0) {
            ::unlink(temp.c_str());
            return false;
        }
        SyncFolder(FolderOf(path));
        return true;
    }

    bool ListFolder(const std::string& path, std::vector<FolderEntry>& entries) const override {
        return ListFolderUntil(path, entries, {});
    }

    bool ListFolderUntil(const std::string& path, std::vector<FolderEntry>& entries,
                         const std::function<bool()>& stopped) const override {
        entries.clear();
        std::error_code error;
        std::filesystem::directory_iterator it(path, error);
        if (error) {
            return false;
        }
        for (; it != std::filesystem::directory_iterator(); it.increment(error)) {
            if (stopped && entries.size() % kListingStep == 0 && stopped()) {
                entries.clear();
                return false;
            }
            std::error_code typeError;
            entries.push_back({it->path().filename().string(), it->is_directory(typeError)});
        }
        if (error) {
            entries.clear();
            return false;
        }
        return true;
    }
};

}  // namespace

IFileSystem& SystemFileSystem() {
    static PosixFileSystem fileSystem;
    return fileSystem;
}

std::string ProgramFolder() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        return ".";
    }
    return self.parent_path().string();
}

}  // namespace zz
