#include "settings/app_settings.h"

#include <algorithm>
#include <utility>

#include "settings/ascii.h"
#include "settings/ini_file.h"

namespace zz {

namespace {

constexpr std::string_view kIniFileName = "Zoomzap.ini";

}  // namespace

CAppSettings::CAppSettings(std::string programFolder, IFileSystem& fs)
    : m_strFolder(std::move(programFolder)),
      m_strIniPath(JoinPath(m_strFolder, kIniFileName)),
      m_fs(&fs) {}

// The file as it stands. False when it is there but cannot be read (locked, no rights): then
// writing over it would lose what could not be seen.
bool CAppSettings::ReadIni(IniFile& ini) const {
    std::string bytes;
    if (m_fs->ReadFile(m_strIniPath, bytes)) {
        ini = IniFile(bytes);
        return true;
    }
    ini = IniFile();
    std::vector<FolderEntry> entries;
    if (!m_fs->ListFolder(m_strFolder, entries)) {
        return true;
    }
    return std::none_of(entries.begin(), entries.end(), [](const FolderEntry& entry) {
        return EqualsIgnoringAsciiCase(entry.name, kIniFileName);
    });
}

Settings CAppSettings::Load() const {
    IniFile ini;
    ReadIni(ini);  // an unreadable file reads as defaults, like a missing one
    return ReadSettings(ini);
}

bool CAppSettings::Save(const Settings& settings) {
    IniFile ini;
    if (!ReadIni(ini)) {
        return false;
    }
    const bool stored = WriteSettings(ini, settings);
    return m_fs->ReplaceFile(m_strIniPath, ini.Bytes()) && stored;
}

int CAppSettings::ReadInt(std::string_view section, std::string_view key, int def) const {
    IniFile ini;
    ReadIni(ini);
    return ini.GetInt(section, key, def);
}

bool CAppSettings::WriteInt(std::string_view section, std::string_view key, int value) {
    return WriteInts(section, {{std::string(key), value}});
}

bool CAppSettings::WriteInts(std::string_view section,
                             const std::vector<std::pair<std::string, int>>& values) {
    IniFile ini;
    if (!ReadIni(ini)) {
        return false;
    }
    for (const auto& [key, value] : values) {
        if (!ini.SetString(section, key, std::to_string(value))) {
            return false;
        }
    }
    return m_fs->ReplaceFile(m_strIniPath, ini.Bytes());
}

}  // namespace zz
