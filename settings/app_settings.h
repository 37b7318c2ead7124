#pragma once
// The store of the settings file beside the program: the settings record read and written
// whole, and single integers in any section (the sound map). No cache: every operation reads
// the file afresh, so each one sees every earlier write of any store.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "settings/file_system.h"
#include "settings/settings_record.h"

namespace zz {

class IniFile;

class CAppSettings {
public:
    explicit CAppSettings(std::string programFolder = ProgramFolder(),
                          IFileSystem& fs = SystemFileSystem());

    // The record as the file holds it; a missing key, or a missing or unreadable file, gives
    // the key's default. Never writes.
    Settings Load() const;
    // Writes the whole record in one replacement of the file, in the file's own encoding;
    // false when the file could not be replaced or a value could not be stored as it is.
    bool Save(const Settings& settings);

    int ReadInt(std::string_view section, std::string_view key, int def) const;
    bool WriteInt(std::string_view section, std::string_view key, int value);
    // Writes every integer in one replacement of the file: all of them, or none when the file
    // cannot be written or a key cannot be a name in it (see IniFile::CanBeKey).
    bool WriteInts(std::string_view section,
                   const std::vector<std::pair<std::string, int>>& values);

    const std::string& IniPath() const { return m_strIniPath; }

private:
    bool ReadIni(IniFile& ini) const;

    std::string m_strFolder;
    std::string m_strIniPath;
    IFileSystem* m_fs;
};

}  // namespace zz
