#pragma once
// The program's settings: the record of the settings section, read and written whole, and
// single integers in any section (the sound map). No cache: every operation reads the file
// afresh, so each one sees every earlier write of any store.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "settings/file_system.h"
#include "settings/text_encoding.h"

namespace zz {

class IniFile;

class CAppSettings {
public:
    explicit CAppSettings(std::string programFolder = ProgramFolder(),
                          IFileSystem& fs = SystemFileSystem());

    // Fills the record from the file; a missing key, or a missing or unreadable file, gives
    // the key's default. Never writes.
    void Load();
    // Writes the whole record in one step; false when the file could not be replaced or a
    // value could not be stored as it stands.
    bool Save();

    int ReadInt(std::string_view section, std::string_view key, int def) const;
    bool WriteInt(std::string_view section, std::string_view key, int value);
    // Writes every integer in one replacement of the file: all of them, or none when the file
    // cannot be written or a key cannot be a name in it (see IniFile::CanBeKey).
    bool WriteInts(std::string_view section,
                   const std::vector<std::pair<std::string, int>>& values);

    // How many pictures and sounds take part: 10, or 100 when m_nMaxMedia is set.
    int MaxMediaCount() const;

    std::string m_strIniPath;
    std::string m_strTitle;
    int m_nGrowth = 0;
    int m_nSpeed = 0;
    int m_nMaxZoom = 0;
    int m_nRotation = 0;
    int m_nStartMode = 0;
    int m_nMouse = 0;
    int m_nSound = 0;
    int m_nMaxMedia = 0;
    int m_nDisplayOrder = 0;
    std::string m_strGroup;
    std::vector<std::string> m_pictureOrder;
    // The file's encoding as Load found it; names are stored and matched in its form.
    TextEncoding m_encoding = TextEncoding::kCp932;

private:
    bool ReadIni(IniFile& ini) const;

    std::string m_strFolder;
    IFileSystem* m_fs;
};

}  // namespace zz
