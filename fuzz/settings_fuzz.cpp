// The settings record on any file: loading never writes, saving what was loaded and loading
// again gives the same record, a second save writes the same bytes in the file's own
// encoding, and no other section's values change.

#include <algorithm>

#include "fuzz/fuzz_check.h"
#include "fuzz/ini_probes.h"
#include "settings/app_settings.h"

namespace {

// A program folder that holds the settings file and nothing else.
struct OneFileFolder final : zz::IFileSystem {
    std::string bytes;
    int writes = 0;

    bool ReadFile(const std::string&, std::string& out) const override { return out = bytes, true; }
    bool ReplaceFile(const std::string&, std::string_view in) override {
        bytes = in;
        return ++writes, true;
    }
    bool ListFolder(const std::string&, std::vector<zz::FolderEntry>& entries) const override {
        return entries = {{"Zoomzap.ini", false}}, true;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    OneFileFolder folder;
    folder.bytes.assign(reinterpret_cast<const char*>(data), size);
    const std::string original = folder.bytes;
    zz::CAppSettings store("/settings", folder);
    const zz::Settings loaded = store.Load();
    ZZ_FUZZ_CHECK(folder.writes == 0);

    const auto probes = zz::fuzz::ProbesOf(original, {}, {});
    store.Save(loaded);
    const std::string saved = folder.bytes;
    ZZ_FUZZ_CHECK(zz::IniFile(saved).Encoding() == loaded.encoding);
    const zz::fuzz::Reads before = zz::fuzz::Read(zz::IniFile(original), probes);
    const zz::fuzz::Reads after = zz::fuzz::Read(zz::IniFile(saved), probes);
    for (std::size_t i = 0; i < probes.size(); ++i) {
        ZZ_FUZZ_CHECK(
            after[i] == before[i] ||
            zz::fuzz::SameStoredName(probes[i].first, zz::kSettingsSection, loaded.encoding));
    }
    const auto& names = loaded.pictureOrder;
    if (zz::fuzz::SurvivesTheFormat(loaded.title) && zz::fuzz::SurvivesTheFormat(loaded.group) &&
        std::all_of(names.begin(), names.end(), zz::fuzz::SurvivesTheFormat)) {
        ZZ_FUZZ_CHECK(store.Load() == loaded);
        store.Save(store.Load());
        ZZ_FUZZ_CHECK(folder.bytes == saved);
    }
    return 0;
}
