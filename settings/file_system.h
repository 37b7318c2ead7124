#pragma once
// The few file operations the portable core needs, so that tests can feed it any folder.
// Paths are UTF-8; the Win32 implementation converts them to UTF-16 at the boundary.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zz {

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// folder + separator + name, as the platform writes paths.
std::string JoinPath(std::string_view folder, std::string_view name);

struct FolderEntry {
    std::string name;  // file or folder name, UTF-8, never "." or ".."
    bool isFolder = false;
};

class IFileSystem {
public:
    virtual ~IFileSystem() = default;

    // Whole file into bytes; false when it is missing or cannot be read.
    virtual bool ReadFile(const std::string& path, std::string& bytes) const = 0;

    // Replaces the file in one step: readers see the old or the new content, never a mix.
    virtual bool ReplaceFile(const std::string& path, std::string_view bytes) = 0;

    // Entries of a folder in the platform's order; false when it cannot be listed.
    virtual bool ListFolder(const std::string& path, std::vector<FolderEntry>& entries) const = 0;

    // The same, given up (false, nothing listed) once stopped answers true. The platform's own
    // listing asks it before the first entry and after every kListingStep, so that a folder of
    // any size is left at once; one that never asks lists the folder whole.
    static constexpr std::size_t kListingStep = 256;
    virtual bool ListFolderUntil(const std::string& path, std::vector<FolderEntry>& entries,
                                 const std::function<bool()>& /*stopped*/) const {
        return ListFolder(path, entries);
    }
};

// The real file system of the platform the program runs on.
IFileSystem& SystemFileSystem();

// Folder that holds the running program file, without a trailing separator.
std::string ProgramFolder();

}  // namespace zz
