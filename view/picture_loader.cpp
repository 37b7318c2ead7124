#include "view/picture_loader.h"

#include "settings/ini_file.h"
#include "settings/media_library.h"

namespace zz {

PictureTableFill::PictureTableFill(const CAppSettings& soundMap, const PictureLoadRules& rules)
    : m_soundMap(soundMap),
      m_rules(rules),
      m_storedGroup(EncodingForm(rules.group, rules.encoding)) {}

bool PictureTableFill::Wants(std::string_view relName) const {
    // In random order the slot depends on the files before, but there is always one.
    return m_rules.displayOrder != 1 || NextSlot(relName) >= 0;
}

int PictureTableFill::NextSlot(std::string_view relName) const {
    const int slot =
        m_rules.displayOrder == 1
            ? OrderSlot(m_rules.order, ValueForm(relName, m_rules.encoding), m_storedGroup)
            : m_result.count;
    return slot >= 0 && slot < kPictureSlots ? slot : -1;
}

int PictureTableFill::Filled(int slot, std::string_view relName) {
    ++m_result.count;
    return m_result.sounds[slot] =
               ValidSoundIndex(ReadSoundIndex(m_soundMap, relName), m_rules.soundCount);
}

void PictureTableFill::Undecodable(std::string_view name) {
    // In order the parent chose the file, so the parent hears of it.
    if (m_rules.displayOrder == 1) {
        m_result.unreadableNames.emplace_back(name);
    }
}

PictureLoadResult LoadPictureTable(const IFileSystem& fs, const std::string& programFolder,
                                   const CAppSettings& soundMap, const PictureLoadRules& rules,
                                   IPictureDecoder& decoder) {
    PictureTableFill fill(soundMap, rules);
    FolderWalk walk(fs, PictureFolder(programFolder, rules.group),
                    std::string(PictureRelativeFolder(rules.group)));
    WalkFile file;
    while (!fill.Over() && walk.Next(file)) {
        const int slot = fill.NextSlot(file.relName);
        if (slot < 0) {
            continue;
        }
        if (decoder.LoadSlot(slot, std::string(file.path))) {
            decoder.SlotFilled(slot, fill.Filled(slot, file.relName));
        } else {
            fill.Undecodable(file.name);
        }
    }
    return fill.Result();
}

}  // namespace zz
