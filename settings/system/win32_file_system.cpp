// The file system of Windows: UTF-8 paths become UTF-16 here and only here.

#include <windows.h>

#include <algorithm>
#include <limits>

#include "settings/file_system.h"

namespace zz {

namespace {

class UniqueHandle {
public:
    explicit UniqueHandle(HANDLE handle) : m_handle(handle) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { Close(); }

    HANDLE Get() const { return m_handle; }
    bool Valid() const { return m_handle != INVALID_HANDLE_VALUE && m_handle != nullptr; }
    bool Close() {
        const HANDLE handle = m_handle;
        m_handle = INVALID_HANDLE_VALUE;
        return handle == INVALID_HANDLE_VALUE || handle == nullptr || ::CloseHandle(handle);
    }

private:
    HANDLE m_handle;
};

class FindGuard {
public:
    explicit FindGuard(HANDLE find) : m_find(find) {}
    FindGuard(const FindGuard&) = delete;
    FindGuard& operator=(const FindGuard&) = delete;
    ~FindGuard() {
        if (m_find != INVALID_HANDLE_VALUE) {
            ::FindClose(m_find);
        }
    }

private:
    HANDLE m_find;
};

std::wstring Widen(std::string_view utf8) {
    if (utf8.empty() || utf8.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
        return {};
    }
    const int size = static_cast<int>(utf8.size());
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), length);
    return wide;
}

std::string Narrow(std::wstring_view wide) {
    if (wide.empty()) {
        return {};
    }
    const int size = static_cast<int>(wide.size());
    const int length =
        ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), length, nullptr, nullptr);
    return utf8;
}

bool WriteAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 20));
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) {
            return false;
        }
        bytes.remove_prefix(written);
    }
    return true;
}

class Win32FileSystem final : public IFileSystem {
public:
    bool ReadFile(const std::string& path, std::string& bytes) const override {
        bytes.clear();
        UniqueHandle file(::CreateFileW(Widen(path).c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        LARGE_INTEGER size{};
        if (!file.Valid() || !::GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0 ||
            size.QuadPart > std::numeric_limits<DWORD>::max()) {
            return false;
        }
        bytes.resize(static_cast<std::size_t>(size.QuadPart));
        std::size_t done = 0;
        while (done < bytes.size()) {
            DWORD got = 0;
            const DWORD want = static_cast<DWORD>(bytes.size() - done);
            if (!::ReadFile(file.Get(), bytes.data() + done, want, &got, nullptr) || got == 0) {
                bytes.clear();
                return false;
            }
            done += got;
        }
        return true;
    }

    bool ReplaceFile(const std::string& path, std::string_view bytes) override {
        const std::wstring target = Widen(path);
        if (target.empty()) {
            return false;
        }
        // A settings file marked read-only stays as it is. Windows refuses the move anyway;
        // asking first also holds where the mark is not enforced (Wine run as root).
        const DWORD attributes = ::GetFileAttributesW(target.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
            return false;
        }
        const std::wstring temp = target + L".new";
        UniqueHandle file(::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.Valid()) {
            return false;
        }
        const bool written = WriteAll(file.Get(), bytes) && ::FlushFileBuffers(file.Get());
        const bool closed = file.Close();
        if (!written || !closed ||
            !::MoveFileExW(temp.c_str(), target.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            // Nothing else to do about a temp file that cannot be removed either.
            ::DeleteFileW(temp.c_str());
            return false;
        }
        return true;
    }

    bool ListFolder(const std::string& path, std::vector<FolderEntry>& entries) const override {
        return ListFolderUntil(path, entries, {});
    }

    bool ListFolderUntil(const std::string& path, std::vector<FolderEntry>& entries,
                         const std::function<bool()>& stopped) const override {
        entries.clear();
        if (path.empty()) {
            return false;
        }
        const std::wstring pattern = Widen(JoinPath(path, "*"));
        WIN32_FIND_DATAW data{};
        const HANDLE find = ::FindFirstFileW(pattern.c_str(), &data);
        if (find == INVALID_HANDLE_VALUE) {
            return false;
        }
        const FindGuard guard(find);
        do {
            if (stopped && entries.size() % kListingStep == 0 && stopped()) {
                entries.clear();
                return false;
            }
            const std::wstring_view name = data.cFileName;
            if (name != L"." && name != L"..") {
                entries.push_back(
                    {Narrow(name), (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
            }
        } while (::FindNextFileW(find, &data));
        if (::GetLastError() != ERROR_NO_MORE_FILES) {
            entries.clear();
            return false;
        }
        return true;
    }
};

}  // namespace

IFileSystem& SystemFileSystem() {
    static Win32FileSystem fileSystem;
    return fileSystem;
}

std::string ProgramFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return ".";
        }
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        // Truncated: a long path; try again with room for it.
        path.resize(path.size() * 2);
    }
    const std::size_t slash = path.find_last_of(L"\\/");
    return Narrow(slash == std::wstring::npos ? std::wstring_view(L".")
                                              : std::wstring_view(path).substr(0, slash));
}

}  // namespace zz
