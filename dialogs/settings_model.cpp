#include "dialogs/settings_model.h"

#include <utility>

#include "dialogs/typed_values.h"
#include "settings/ini_file.h"
#include "settings/media_library.h"
#include "settings/settings_keys.h"

namespace zz {

namespace {

ComboState ComboFor(std::span<const std::string_view> choices, const std::string& text) {
    return ComboState{text, FindComboEntry(choices, text)};
}

// A radio pair checks one button only for the indices 0 and 1.
int RadioShown(int index) {
    return (index == 0 || index == 1) ? index : -1;
}

// A pair left with neither button checked stands for the stored value it could not show: no
// click can uncheck both, so the parent did not change it.
int RadioStored(int shown, int stored) {
    return shown == -1 && RadioShown(stored) == -1 ? stored : shown;
}

std::string Replace(std::string_view format, std::string_view value) {
    std::string text(format);
    const size_t at = text.find("%s");
    if (at != std::string::npos) {
        text.replace(at, 2, value);
    }
    return text;
}

}  // namespace

SettingsModel::SettingsModel(std::string programFolder, IFileSystem& fs)
    : m_settings(programFolder, fs), m_programFolder(std::move(programFolder)), m_fs(&fs) {}

void SettingsModel::Load() {
    m_settings.Load();
    m_strGrowth = std::to_string(m_settings.m_nGrowth);
    m_strSpeed = std::to_string(m_settings.m_nSpeed);
    m_strMaxZoom = std::to_string(m_settings.m_nMaxZoom);
    m_nRotation = m_settings.m_nRotation;
    m_nStartMode = m_settings.m_nStartMode;
    m_nMouse = m_settings.m_nMouse;
    m_nSound = m_settings.m_nSound;
    m_nMaxMedia = m_settings.m_nMaxMedia;
    m_strGroup =
        LiveGroupName(*m_fs, m_programFolder, m_settings.m_strGroup, m_settings.m_encoding);
    m_nDisplayOrder = m_settings.m_nDisplayOrder;
    m_orderList = m_settings.m_pictureOrder;
    m_bAssignEnabled = m_settings.m_nSound != 0;
    m_bOrderEnabled = m_settings.m_nDisplayOrder != 0;
}

SettingsControls SettingsModel::ToControls() const {
    SettingsControls controls;
    controls.growth = ComboFor(kGrowthChoices, m_strGrowth);
    controls.speed = ComboFor(kSpeedChoices, m_strSpeed);
    controls.maxZoom = ComboFor(kMaxZoomChoices, m_strMaxZoom);
    controls.rotation = RadioShown(m_nRotation);
    controls.startMode = RadioShown(m_nStartMode);
    controls.mouse = RadioShown(m_nMouse);
    controls.sound = RadioShown(m_nSound);
    controls.maxMedia = RadioShown(m_nMaxMedia);
    controls.displayOrder = RadioShown(m_nDisplayOrder);
    controls.group = m_strGroup;
    return controls;
}

void SettingsModel::FromControls(const SettingsControls& controls) {
    m_strGrowth = controls.growth.text;
    m_strSpeed = controls.speed.text;
    m_strMaxZoom = controls.maxZoom.text;
    m_nRotation = RadioShown(controls.rotation);
    m_nStartMode = RadioShown(controls.startMode);
    m_nMouse = RadioShown(controls.mouse);
    m_nSound = RadioShown(controls.sound);
    m_nMaxMedia = RadioShown(controls.maxMedia);
    m_nDisplayOrder = RadioShown(controls.displayOrder);
    m_strGroup = controls.group;
}

FolderPrompt SettingsModel::OnImagesFolder() {
    m_bMediaChanged = true;
    const std::string folder = ImagesFolder(m_programFolder);
    return FolderPrompt{
        folder,
        Replace("表示したい画像ファイル(*.bmp; *.jpg; *.jpeg; *.png)を\n%s に置いて下さい。",
                folder)};
}

FolderPrompt SettingsModel::OnSoundsFolder() const {
    const std::string folder = SoundsFolder(m_programFolder);
    return FolderPrompt{folder,
                        Replace("鳴らしたい音声ファイル(*.wav)を\n%s に置いて下さい。", folder)};
}

void SettingsModel::OnOrderDone(std::vector<std::string> order) {
    m_orderList = std::move(order);
    m_bMediaChanged = true;
}

bool SettingsModel::OnGroupChosen(std::string group) {
    m_strGroup = std::move(group);
    m_bMediaChanged = true;
    return m_nDisplayOrder == 1;
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
    return m_settings.WriteInts(keys::kSoundFileSection, values);
}

bool SettingsModel::Store() {
    m_settings.m_nGrowth = ParseTypedNumber(m_strGrowth);
    m_settings.m_nSpeed = ParseTypedNumber(m_strSpeed);
    m_settings.m_nMaxZoom = ParseTypedNumber(m_strMaxZoom);
    m_settings.m_nRotation = RadioStored(m_nRotation, m_settings.m_nRotation);
    m_settings.m_nStartMode = RadioStored(m_nStartMode, m_settings.m_nStartMode);
    m_settings.m_nMouse = RadioStored(m_nMouse, m_settings.m_nMouse);
    m_settings.m_nSound = RadioStored(m_nSound, m_settings.m_nSound);
    m_settings.m_nMaxMedia = RadioStored(m_nMaxMedia, m_settings.m_nMaxMedia);
    m_settings.m_nDisplayOrder = RadioStored(m_nDisplayOrder, m_settings.m_nDisplayOrder);
    m_settings.m_strGroup = m_strGroup;
    m_settings.m_pictureOrder = m_orderList;
    return m_settings.Save();
}

std::string SettingsModel::SaveFailedMessage() const {
    return Replace("設定を保存できませんでした。次のファイルに書き込めません。\n%s",
                   m_settings.m_strIniPath);
}

std::string SettingsModel::AssignFailedMessage() const {
    return Replace("音声の割り付けを保存できませんでした。次のファイルに書き込めません。\n%s",
                   m_settings.m_strIniPath);
}

std::string QuotedArgument(std::string_view path) {
    std::string quoted;
    quoted.reserve(path.size() + 2);
    quoted.append(1, '"').append(path).append(1, '"');
    return quoted;
}

}  // namespace zz
