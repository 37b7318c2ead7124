#pragma once
// Fills the view's picture table from a picture folder, by the slot rules of either order.

#include <array>
#include <string>
#include <vector>

#include "settings/file_system.h"
#include "settings/settings_record.h"
#include "view/play_surface.h"

namespace zz {

class CAppSettings;

// Puts decoded pictures into the view's slots.
class IPictureDecoder {
public:
    virtual ~IPictureDecoder() = default;
    // Releases what the slot held, then decodes the file into it; false when it cannot be
    // decoded, and the slot is then empty.
    virtual bool LoadSlot(int slot, const std::string& path) = 0;
    // The slot just loaded counts, with this sound index (-1 for a random sound).
    virtual void SlotFilled(int /*slot*/, int /*sound*/) {}
};

struct PictureLoadRules {
    // As the view holds them: the group is the one to load, a folder's live name or the
    // start-up choice's answer.
    Settings settings = DefaultSettings();
    int maxCount = MaxMediaCount(DefaultSettings());  // pictures the load counts at most
    int soundCount = 0;  // entries of the sound list, to check stored sound indices
};

struct PictureLoadResult {
    int count = 0;
    std::array<int, kPictureSlots> sounds;
    // In order only: file names of the listed files that could not be decoded, in walk order.
    // Their slots stay empty, as a missing file's do.
    std::vector<std::string> unreadableNames;

    PictureLoadResult() { sounds.fill(-1); }
};

// Walks the group's picture folder depth first and decodes into slots: in random order the
// first maxCount decodable files take slots 0, 1, …; in order only the files the order list
// names, each in the slot its place in the list gives.
PictureLoadResult LoadPictureTable(const IFileSystem& fs, const std::string& programFolder,
                                   const CAppSettings& soundMap, const PictureLoadRules& rules,
                                   IPictureDecoder& decoder);

}  // namespace zz
