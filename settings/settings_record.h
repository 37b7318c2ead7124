#pragma once
// The record of the settings section, as the file holds it, and what its values mean. Every
// integer keeps the value that was read, also one that no control can show (a 5 where a radio
// pair holds 0 or 1), so that a save changes nothing a parent did not change.

#include <string>
#include <string_view>
#include <vector>

#include "settings/text_encoding.h"

namespace zz {

class IniFile;

inline constexpr std::string_view kSettingsSection = "設定";
// Picture relative names as keys, sound indices as values; -1 or a missing key is random.
inline constexpr std::string_view kSoundMapSection = "SoundFile";
// Group value that makes the start-up group picker ask.
inline constexpr std::string_view kGroupChooseAtStart = "起動時に選択";

// Radio pairs: the index of the checked button. Any other value stays as it was stored.
enum class OnOff : int { kOff = 0, kOn = 1 };
enum class StartMode : int { kNormal = 0, kGuarded = 1 };
enum class MediaLimit : int { kTen = 0, kHundred = 1 };
enum class DisplayOrder : int { kRandom = 0, kStored = 1 };

struct Settings {
    std::string title;
    int growth = 0;                // percent of the half width per step
    int speed = 0;                 // animation timer period, milliseconds
    int maxZoom = 0;               // percent of the client width past which growth stops
    OnOff rotation = OnOff::kOff;  // carried through; pictures are always drawn upright
    StartMode startMode = StartMode::kNormal;
    OnOff mouse = OnOff::kOff;
    OnOff sound = OnOff::kOff;
    MediaLimit mediaLimit = MediaLimit::kTen;
    DisplayOrder displayOrder = DisplayOrder::kRandom;
    std::string group;  // empty for all groups, kGroupChooseAtStart, or a group's folder name
    std::vector<std::string> pictureOrder;  // relative names, for the stored order
    // The file's, in whose form names are stored and matched; no key of its own.
    TextEncoding encoding = TextEncoding::kCp932;

    bool operator==(const Settings&) const = default;
};

// What a file without the settings section gives.
Settings DefaultSettings();

// The section read into the record: a missing key gives its default, and the order list ends
// at the first empty or missing entry, or at MaxMediaCount entries.
Settings ReadSettings(const IniFile& ini);
// Every key of the record written where it stands, the order list ended by an empty entry.
// False when a value cannot be stored as it is; the other keys are written all the same.
bool WriteSettings(IniFile& ini, const Settings& settings);

// How many pictures and sounds take part, and how long the order list is: 10 for a stored 0,
// 100 for any other value.
int MaxMediaCount(const Settings& settings);
bool ChoosesAtRandom(const Settings& settings);
// Only a stored 1 loads the pictures by the order list; a value that is neither loads them as
// random order does and shows them in turn.
bool InStoredOrder(const Settings& settings);
bool StartsGuarded(const Settings& settings);
bool MousePlays(const Settings& settings);
bool SoundOn(const Settings& settings);

}  // namespace zz
