#include "view/picture_loader.h"

#include "settings/ini_file.h"
#include "settings/media_library.h"

namespace zz {

PictureLoadResult LoadPictureTable(const IFileSystem& fs, const std::string& programFolder,
                                   const CAppSettings& soundMap, const PictureLoadRules& rules,
                                   IPictureDecoder& decoder) {
    PictureLoadResult result;
    const Settings& settings = rules.settings;
    const bool inOrder = InStoredOrder(settings);
    int loaded = 0;  // the walk's running count, which random order uses as the slot
    // The order list holds names in the form the settings file holds them.
    const std::string storedGroup = EncodingForm(settings.group, settings.encoding);

    auto visit = [&](const WalkFile& file) {
        const int slot = inOrder
                             ? OrderSlot(settings.pictureOrder,
                                         ValueForm(file.relName, settings.encoding), storedGroup)
                             : loaded;
        if (slot < 0 || slot >= kPictureSlots) {
            return false;
        }
        if (!decoder.LoadSlot(slot, std::string(file.path))) {
            // In order the parent chose the file, so the parent hears of it.
            if (inOrder) {
                result.unreadableNames.emplace_back(file.name);
            }
            return false;
        }
        result.sounds[slot] =
            ValidSoundIndex(ReadSoundIndex(soundMap, file.relName), rules.soundCount);
        decoder.SlotFilled(slot, result.sounds[slot]);
        ++loaded;
        return true;
    };
    result.count = WalkFolder(fs, PictureFolder(programFolder, settings.group),
                              PictureRelativeFolder(settings.group), 0, rules.maxCount, visit);
    return result;
}

}  // namespace zz
