// The settings record on any file: loading never writes, saving what was loaded and loading
// again gives the same record, a second save writes the same bytes in the file's own
// encoding, and no other section's values change.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "fuzz/ini_probes.h"
#include "settings/app_settings.h"

namespace {

constexpr const char* kFolder = "/settings";
constexpr const char* kPath = "/settings/Zoomzap.ini";

// A program folder that holds the settings file and nothing else.
class OneFileFolder final : public zz::IFileSystem {
public:
    explicit OneFileFolder(std::string bytes) : m_bytes(std::move(bytes)) {}

    bool ReadFile(const std::string& path, std::string& bytes) const override {
        bytes = path == kPath ? m_bytes : std::string();
        return path == kPath;
    }
    bool ReplaceFile(const std::string& path, std::string_view bytes) override {
        ZZ_FUZZ_CHECK(path == kPath);
        m_bytes = bytes;
        ++m_writes;
        return true;
    }
    bool ListFolder(const std::string& path, std::vector<zz::FolderEntry>& entries) const override {
        entries = {{"Zoomzap.ini", false}};
        return path == kFolder;
    }

    const std::string& Bytes() const { return m_bytes; }
    int Writes() const { return m_writes; }

private:
    std::string m_bytes;
    int m_writes = 0;
};

// The format drops blanks around a value and one pair of quotes: such a text cannot come back
// the same, as with the platform's own profile functions.
bool SurvivesTheFormat(const std::string& text) {
    const bool quoted = text.size() >= 2 && (text.front() == '"' || text.front() == '\'') &&
                        text.back() == text.front();
    return !quoted && zz::fuzz::TrimBlanks(text) == text;
}

bool RecordSurvivesTheFormat(const zz::CAppSettings& record) {
    if (!SurvivesTheFormat(record.m_strTitle) || !SurvivesTheFormat(record.m_strGroup)) {
        return false;
    }
    for (const std::string& name : record.m_pictureOrder) {
        if (!SurvivesTheFormat(name)) {
            return false;
        }
    }
    return true;
}

bool SameRecord(const zz::CAppSettings& a, const zz::CAppSettings& b) {
    return a.m_strTitle == b.m_strTitle && a.m_nGrowth == b.m_nGrowth && a.m_nSpeed == b.m_nSpeed &&
           a.m_nMaxZoom == b.m_nMaxZoom && a.m_nRotation == b.m_nRotation &&
           a.m_nStartMode == b.m_nStartMode && a.m_nMouse == b.m_nMouse &&
           a.m_nSound == b.m_nSound && a.m_nMaxMedia == b.m_nMaxMedia &&
           a.m_nDisplayOrder == b.m_nDisplayOrder && a.m_strGroup == b.m_strGroup &&
           a.m_pictureOrder == b.m_pictureOrder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string original(reinterpret_cast<const char*>(data), size);
    OneFileFolder folder(original);
    zz::CAppSettings loaded(kFolder, folder);
    loaded.Load();
    ZZ_FUZZ_CHECK(folder.Writes() == 0);

    const auto probes = zz::fuzz::ProbesOf(original, {}, {});
    const auto before = zz::fuzz::ReadProbes(zz::IniFile(original), probes);
    loaded.Save();
    const std::string saved = folder.Bytes();
    const auto after = zz::fuzz::ReadProbes(zz::IniFile(saved), probes);
    ZZ_FUZZ_CHECK(zz::IniFile(saved).Encoding() == loaded.m_encoding);
    for (std::size_t i = 0; i < probes.size(); ++i) {
        if (!zz::fuzz::SameName(zz::fuzz::StoredName(probes[i].section, loaded.m_encoding),
                                zz::keys::kSettingsSection)) {
            ZZ_FUZZ_CHECK(after[i] == before[i]);
        }
    }

    zz::CAppSettings reloaded(kFolder, folder);
    reloaded.Load();
    if (RecordSurvivesTheFormat(loaded)) {
        ZZ_FUZZ_CHECK(SameRecord(loaded, reloaded));
        reloaded.Save();
        ZZ_FUZZ_CHECK(folder.Bytes() == saved);
    }
    return 0;
}
