#include "settings/app_settings.h"

#include <algorithm>
#include <utility>

#include "settings/ini_file.h"
#include "settings/settings_keys.h"

namespace zz {

namespace {

constexpr std::string_view kIniFileName = "Zoomzap.ini";

std::string PictureKey(std::size_t index) {
    return std::string(keys::kPictureOrderPrefix) + std::to_string(index);
}

bool SameAsciiName(std::string_view a, std::string_view b) {
    auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [&](char x, char y) { return fold(x) == fold(y); });
}

}  // namespace

CAppSettings::CAppSettings(std::string programFolder, IFileSystem& fs)
    : m_strIniPath(JoinPath(programFolder, kIniFileName)),
      m_strFolder(std::move(programFolder)),
      m_fs(&fs) {}

int CAppSettings::MaxMediaCount() const {
    return m_nMaxMedia != 0 ? 100 : 10;
}

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
        return SameAsciiName(entry.name, kIniFileName);
    });
}

void CAppSettings::Load() {
    IniFile ini;
    ReadIni(ini);  // an unreadable file reads as defaults, like a missing one
    m_encoding = ini.Encoding();
    const std::string_view section = keys::kSettingsSection;
    m_strTitle = ini.GetString(section, keys::kTitle, keys::kDefaultTitle);
    m_nGrowth = ini.GetInt(section, keys::kGrowth, 10);
    m_nSpeed = ini.GetInt(section, keys::kSpeed, 1);
    m_nMaxZoom = ini.GetInt(section, keys::kMaxZoom, 100);
    m_nRotation = ini.GetInt(section, keys::kRotation, 0);
    m_nStartMode = ini.GetInt(section, keys::kStartMode, 0);
    m_nMouse = ini.GetInt(section, keys::kMouse, 0);
    m_nSound = ini.GetInt(section, keys::kSound, 0);
    m_nMaxMedia = ini.GetInt(section, keys::kMaxMedia, 0);
    m_nDisplayOrder = ini.GetInt(section, keys::kDisplayOrder, 0);
    m_strGroup = ini.GetString(section, keys::kGroup, "");
    // The list ends at the first empty or missing key; later stale keys are never read.
    m_pictureOrder.clear();
    const auto bound = static_cast<std::size_t>(MaxMediaCount());
    for (std::size_t i = 0; i < bound; ++i) {
        std::string name = ini.GetString(section, PictureKey(i), "");
        if (name.empty()) {
            break;
        }
        m_pictureOrder.push_back(std::move(name));
    }
}

bool CAppSettings::Save() {
    IniFile ini;
    if (!ReadIni(ini)) {
        return false;
    }
    const std::string_view section = keys::kSettingsSection;
    bool stored = true;
    auto set = [&](std::string_view key, std::string_view value) {
        stored = ini.SetString(section, key, value) && stored;
    };
    set(keys::kTitle, m_strTitle);
    const std::pair<std::string_view, int> numbers[] = {{keys::kGrowth, m_nGrowth},
                                                        {keys::kSpeed, m_nSpeed},
                                                        {keys::kMaxZoom, m_nMaxZoom},
                                                        {keys::kRotation, m_nRotation},
                                                        {keys::kStartMode, m_nStartMode},
                                                        {keys::kMouse, m_nMouse},
                                                        {keys::kSound, m_nSound},
                                                        {keys::kMaxMedia, m_nMaxMedia},
                                                        {keys::kDisplayOrder, m_nDisplayOrder}};
    for (const auto& [key, number] : numbers) {
        set(key, std::to_string(number));
    }
    set(keys::kGroup, m_strGroup);
    // Names beyond the bound are not written; the empty key after the last ends the list even
    // where older, longer lists left higher keys behind.
    const std::size_t count =
        std::min(m_pictureOrder.size(), static_cast<std::size_t>(MaxMediaCount()));
    for (std::size_t i = 0; i < count; ++i) {
        set(PictureKey(i), m_pictureOrder[i]);
    }
    set(PictureKey(count), "");
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
