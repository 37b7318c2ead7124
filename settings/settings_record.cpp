#include "settings/settings_record.h"

#include <algorithm>
#include <type_traits>

#include "settings/ini_file.h"

namespace zz {

namespace {

// One key of the settings section: a text field, or an integer field of any type over int.
struct SettingsKey {
    std::string_view name;
    std::string_view textDefault;
    int numberDefault = 0;
    std::string Settings::*text = nullptr;
    int (*getNumber)(const Settings&) = nullptr;
    void (*setNumber)(Settings&, int) = nullptr;
};

constexpr SettingsKey TextKey(std::string_view name, std::string Settings::*field,
                              std::string_view textDefault) {
    return {name, textDefault, 0, field, nullptr, nullptr};
}

template <auto Field>
constexpr SettingsKey NumberKey(std::string_view name, int numberDefault) {
    using Type = std::remove_cvref_t<decltype(Settings{}.*Field)>;
    return {name,
            {},
            numberDefault,
            nullptr,
            [](const Settings& s) { return static_cast<int>(s.*Field); },
            [](Settings& s, int value) { s.*Field = static_cast<Type>(value); }};
}

// In the order in which a save writes them into a new file; the order list follows.
constexpr SettingsKey kKeys[] = {
    TextKey("タイトル", &Settings::title, "ずーむざっぷ"),
    NumberKey<&Settings::growth>("一回に広がる大きさ", 10),
    NumberKey<&Settings::speed>("速さ", 1),
    NumberKey<&Settings::maxZoom>("最大画像拡大率", 100),
    NumberKey<&Settings::rotation>("回転", 0),
    NumberKey<&Settings::startMode>("初期表示", 0),
    NumberKey<&Settings::mouse>("マウス操作", 0),
    NumberKey<&Settings::sound>("音声", 0),
    NumberKey<&Settings::mediaLimit>("最大画像数", 0),
    NumberKey<&Settings::displayOrder>("表示", 0),
    TextKey("グループ", &Settings::group, ""),
};

// 画像ファイル名0, 画像ファイル名1, ...
std::string PictureOrderKey(std::size_t index) {
    return "画像ファイル名" + std::to_string(index);
}

}  // namespace

Settings DefaultSettings() {
    return ReadSettings(IniFile());
}

Settings ReadSettings(const IniFile& ini) {
    Settings settings;
    settings.encoding = ini.Encoding();
    for (const SettingsKey& key : kKeys) {
        if (key.text != nullptr) {
            settings.*key.text = ini.GetString(kSettingsSection, key.name, key.textDefault);
        } else {
            key.setNumber(settings, ini.GetInt(kSettingsSection, key.name, key.numberDefault));
        }
    }
    // Later keys may still stand in the file after a shorter list was saved: never read.
    const auto bound = static_cast<std::size_t>(MaxMediaCount(settings));
    for (std::size_t i = 0; i < bound; ++i) {
        std::string name = ini.GetString(kSettingsSection, PictureOrderKey(i), "");
        if (name.empty()) {
            break;
        }
        settings.pictureOrder.push_back(std::move(name));
    }
    return settings;
}

bool WriteSettings(IniFile& ini, const Settings& settings) {
    bool stored = true;
    auto write = [&](std::string_view key, std::string_view value) {
        stored = ini.SetString(kSettingsSection, key, value) && stored;
    };
    for (const SettingsKey& key : kKeys) {
        write(key.name,
              key.text != nullptr ? settings.*key.text : std::to_string(key.getNumber(settings)));
    }
    const std::size_t count =
        std::min(settings.pictureOrder.size(), static_cast<std::size_t>(MaxMediaCount(settings)));
    for (std::size_t i = 0; i < count; ++i) {
        write(PictureOrderKey(i), settings.pictureOrder[i]);
    }
    write(PictureOrderKey(count), "");
    return stored;
}

int MaxMediaCount(const Settings& settings) {
    return settings.mediaLimit == MediaLimit::kTen ? 10 : 100;
}

bool ChoosesAtRandom(const Settings& settings) {
    return settings.displayOrder == DisplayOrder::kRandom;
}

bool InStoredOrder(const Settings& settings) {
    return settings.displayOrder == DisplayOrder::kStored;
}

bool StartsGuarded(const Settings& settings) {
    return settings.startMode != StartMode::kNormal;
}

bool MousePlays(const Settings& settings) {
    return settings.mouse != OnOff::kOff;
}

bool SoundOn(const Settings& settings) {
    return settings.sound != OnOff::kOff;
}

}  // namespace zz
