#include "dialogs/settings_model.h"

#include <utility>

#include "dialogs/typed_values.h"
#include "settings/ini_file.h"
#include "settings/media_library.h"

namespace zz {

namespace {

ComboState ComboFor(std::span<const std::string_view> choices, int value) {
    std::string text = std::to_string(value);
    const int selected = FindComboEntry(choices, text);
    return ComboState{std::move(text), selected};
}

// A radio pair checks one button only for the indices 0 and 1.
template <typename Mode>
int RadioShown(Mode stored) {
    const int index = static_cast<int>(stored);
    return index == 0 || index == 1 ? index : -1;
}

template <typename Mode>
void TakeRadio(int shown, Mode& stored) {
    if (shown != -1 || RadioShown(stored) != -1) {
        stored = static_cast<Mode>(shown);
    }
}

}  // namespace

SettingsModel::SettingsModel(std::string programFolder, IFileSystem& fs)
    : m_programFolder(std::move(programFolder)), m_fs(&fs), m_store(m_programFolder, fs) {}

void SettingsModel::Load() {
    m_settings = m_store.Load();
    m_settings.group = LiveGroupName(*m_fs, m_programFolder, m_settings.group, m_settings.encoding);
    m_bAssignEnabled = SoundOn(m_settings);
    m_bOrderEnabled = !ChoosesAtRandom(m_settings);
}

SettingsControls SettingsModel::ToControls() const {
    return SettingsControls{ComboFor(kGrowthChoices, m_settings.growth),
                            ComboFor(kSpeedChoices, m_settings.speed),
                            ComboFor(kMaxZoomChoices, m_settings.maxZoom),
                            RadioShown(m_settings.rotation),
                            RadioShown(m_settings.startMode),
                            RadioShown(m_settings.mouse),
                            RadioShown(m_settings.sound),
                            RadioShown(m_settings.mediaLimit),
                            RadioShown(m_settings.displayOrder),
                            m_settings.group};
}

void SettingsModel::FromControls(const SettingsControls& controls) {
    m_settings.growth = ParseTypedNumber(controls.growth.text);
    m_settings.speed = ParseTypedNumber(controls.speed.text);
    m_settings.maxZoom = ParseTypedNumber(controls.maxZoom.text);
    TakeRadio(controls.rotation, m_settings.rotation);
    TakeRadio(controls.startMode, m_settings.startMode);
    TakeRadio(controls.mouse, m_settings.mouse);
    TakeRadio(controls.sound, m_settings.sound);
    TakeRadio(controls.mediaLimit, m_settings.mediaLimit);
    TakeRadio(controls.displayOrder, m_settings.displayOrder);
    m_settings.group = controls.group;
}

std::string SettingsModel::OnImagesFolder() {
    m_bMediaChanged = true;
    return ImagesFolder(m_programFolder);
}

std::string SettingsModel::OnSoundsFolder() const {
    return SoundsFolder(m_programFolder);
}

void SettingsModel::OnOrderDone(std::vector<std::string> order) {
    m_settings.pictureOrder = std::move(order);
    m_bMediaChanged = true;
}

bool SettingsModel::OnGroupChosen(std::string group) {
    m_settings.group = std::move(group);
    m_bMediaChanged = true;
    return InStoredOrder(m_settings);
}

void SettingsModel::OnDisplayRandom() {
    m_bOrderEnabled = false;
    m_bMediaChanged = true;
}

bool SettingsModel::OnSoundsAssigned(const std::vector<std::string>& pictureNames,
                                     const std::vector<int>& assignments) {
    // Names that cannot be keys were never stored, and the assignment dialog told the parent.
    std::vector<std::pair<std::string, int>> values;
    for (size_t i = 0; i < pictureNames.size() && i < assignments.size(); ++i) {
        if (IniFile::CanBeKey(pictureNames[i])) {
            values.emplace_back(pictureNames[i], assignments[i]);
        }
    }
    m_bMediaChanged = true;
    return m_store.WriteInts(kSoundMapSection, values);
}

bool SettingsModel::Store() {
    return m_store.Save(m_settings);
}

}  // namespace zz
