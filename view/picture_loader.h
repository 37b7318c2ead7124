#pragma once
// Fills the view's picture table from a picture folder, by the slot rules of either order.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "settings/file_system.h"
#include "settings/text_encoding.h"
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
    int maxCount = 10;     // 10 or 100
    int displayOrder = 0;  // 0 random, 1 in the stored order
    std::string group;     // the view's group value
    std::vector<std::string> order;
    int soundCount = 0;  // entries of the sound list, to check stored sound indices
    // The settings file's, in whose form the order list holds the names.
    TextEncoding encoding = TextEncoding::kCp932;
};

struct PictureLoadResult {
    int count = 0;
    std::array<int, kPictureSlots> sounds;
    // In order only: file names of the listed files that could not be decoded, in walk order.
    // Their slots stay empty, as a missing file's do.
    std::vector<std::string> unreadableNames;

    PictureLoadResult() { sounds.fill(-1); }
};

// The slot rules, given the walk's files one by one in walk order with what their decoding
// gave, however many files are decoded at once: in random order the first maxCount decodable
// files take slots 0, 1, …; in order only the files the order list names, each in the slot its
// place in the list gives; a listed file that cannot be decoded is named, and the load goes on.
class PictureTableFill {
public:
    PictureTableFill(const CAppSettings& soundMap, const PictureLoadRules& rules);

    // Whether the file is decoded at all: in order, only what the list gives a slot. Reads the
    // rules alone, so any thread may ask while another fills.
    bool Wants(std::string_view relName) const;
    // The slot the next file takes when it decodes; -1 when it takes none.
    int NextSlot(std::string_view relName) const;
    // The next file decoded into slot; returns its sound index.
    int Filled(int slot, std::string_view relName);
    // The next file could not be decoded; name is its file name.
    void Undecodable(std::string_view name);
    // No later file takes a slot.
    bool Over() const { return m_result.count >= m_rules.maxCount; }
    const PictureLoadResult& Result() const { return m_result; }

private:
    const CAppSettings& m_soundMap;  // the caller's, for as long as this lives
    PictureLoadRules m_rules;
    std::string m_storedGroup;  // the group in the form the order list holds it
    PictureLoadResult m_result;
};

// The walk of the group's picture folder, depth first, decoded one file at a time into slots
// by the rules above.
PictureLoadResult LoadPictureTable(const IFileSystem& fs, const std::string& programFolder,
                                   const CAppSettings& soundMap, const PictureLoadRules& rules,
                                   IPictureDecoder& decoder);

}  // namespace zz
