#include "app/registry.h"

#include "framework/unicode.h"

namespace zz {

RegistryKey CreateRegistryKey(HKEY root, const std::string& path) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(root, Widen(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_READ | KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return {};
    }
    return RegistryKey(key);
}

RegistryKey OpenRegistryKey(HKEY root, const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, Widen(path).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return {};
    }
    return RegistryKey(key);
}

bool WriteRegistryString(HKEY key, const std::string& valueName, const std::string& value) {
    const std::wstring text = Widen(value);
    const DWORD bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    return RegSetValueExW(key, valueName.empty() ? nullptr : Widen(valueName).c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(text.c_str()), bytes) == ERROR_SUCCESS;
}

std::string ReadRegistryString(HKEY key, const std::string& valueName) {
    const std::wstring name = Widen(valueName);
    DWORD bytes = 0;
    if (RegGetValueW(key, nullptr, name.c_str(), RRF_RT_REG_SZ, nullptr, nullptr, &bytes) !=
            ERROR_SUCCESS ||
        bytes == 0) {
        return {};
    }
    std::wstring text(bytes / sizeof(wchar_t), L'\0');
    if (RegGetValueW(key, nullptr, name.c_str(), RRF_RT_REG_SZ, nullptr, text.data(), &bytes) !=
        ERROR_SUCCESS) {
        return {};
    }
    // The stored length counts the terminating null, which the platform guarantees.
    text.resize(wcsnlen(text.c_str(), text.size()));
    return Narrow(text);
}

bool DeleteRegistryValue(HKEY key, const std::string& valueName) {
    const LSTATUS status = RegDeleteValueW(key, Widen(valueName).c_str());
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

bool DeleteRegistryTree(HKEY root, const std::string& path) {
    if (path.empty()) {
        return false;  // never the root itself
    }
    const LSTATUS status = RegDeleteTreeW(root, Widen(path).c_str());
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
        return false;
    }
    // RegDeleteTree empties the key; the key itself goes here.
    const LSTATUS removed = RegDeleteKeyW(root, Widen(path).c_str());
    return removed == ERROR_SUCCESS || removed == ERROR_FILE_NOT_FOUND;
}

bool RegisterServer(HKEY classesRoot, const ServerIdentity& identity) {
    const std::vector<RegistryEntry> entries = ServerRegistryEntries(identity);
    bool written = !entries.empty();
    for (const RegistryEntry& entry : entries) {
        const RegistryKey key = CreateRegistryKey(classesRoot, entry.key);
        written = key && WriteRegistryString(key.Get(), "", entry.value) && written;
    }
    return written;
}

bool UnregisterServer(HKEY classesRoot, const ServerIdentity& identity) {
    const std::vector<std::string> roots = ServerRegistryRoots(identity);
    bool removed = !roots.empty();
    for (const std::string& root : roots) {
        removed = DeleteRegistryTree(classesRoot, root) && removed;
    }
    return removed;
}

}  // namespace zz
