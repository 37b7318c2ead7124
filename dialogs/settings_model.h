#pragma once
// The settings dialog without its window: what its controls show for the stored settings,
// what its buttons change, and what OK stores.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "settings/app_settings.h"
#include "settings/file_system.h"

namespace zz {

// Choices offered by the three combo boxes, top to bottom.
inline constexpr std::array<std::string_view, 8> kGrowthChoices = {"1",  "3",  "5",  "10",
                                                                   "20", "30", "50", "100"};
inline constexpr std::array<std::string_view, 8> kSpeedChoices = {"1",   "10",  "100", "200",
                                                                  "300", "500", "700", "1000"};
inline constexpr std::array<std::string_view, 9> kMaxZoomChoices = {
    "10", "30", "50", "70", "100", "150", "200", "300", "500"};

struct ComboState {
    std::string text;   // what the edit field shows
    int selected = -1;  // list entry selected, -1 when the text is no entry's
};

// What the controls show: radio pairs by the index of the checked button, -1 for neither.
struct SettingsControls {
    ComboState growth;
    ComboState speed;
    ComboState maxZoom;
    int rotation = -1;
    int startMode = -1;
    int mouse = -1;
    int sound = -1;
    int mediaLimit = -1;
    int displayOrder = -1;
    std::string group;
};

class SettingsModel {
public:
    SettingsModel(std::string programFolder, IFileSystem& fs);

    // Reads the settings file, as the dialog opens; the group by the name its folder has now.
    void Load();

    SettingsControls ToControls() const;
    // A radio pair that shows neither button keeps the stored value it could not show: no
    // click can clear both, so the parent did not change it.
    void FromControls(const SettingsControls& controls);

    // The media folders to open, after telling the parent what belongs there.
    std::string OnImagesFolder();
    std::string OnSoundsFolder() const;
    // The order dialog's list, taken back whatever way that dialog was left.
    void OnOrderDone(std::vector<std::string> order);
    // True when the order dialog is to follow.
    bool OnGroupChosen(std::string group);
    void OnMediaLimit() { m_bMediaChanged = true; }
    void OnDisplayRandom();
    void OnDisplayInOrder() { m_bOrderEnabled = true; }
    void OnSound(bool on) { m_bAssignEnabled = on; }
    // Writes one sound index per listed picture in one save, all or nothing, leaving out names
    // that cannot be keys; false when the file could not be written.
    bool OnSoundsAssigned(const std::vector<std::string>& pictureNames,
                          const std::vector<int>& assignments);

    // Writes the record; false when the file could not be written, and everything stays as
    // it is for another try.
    bool Store();

    const Settings& Edited() const { return m_settings; }
    const std::string& Folder() const { return m_programFolder; }
    const std::string& IniPath() const { return m_store.IniPath(); }
    bool MediaChanged() const { return m_bMediaChanged; }
    // Buttons "割り付け" and "並び替え".
    bool AssignEnabled() const { return m_bAssignEnabled; }
    bool OrderEnabled() const { return m_bOrderEnabled; }

private:
    std::string m_programFolder;
    IFileSystem* m_fs;
    CAppSettings m_store;
    Settings m_settings;
    bool m_bMediaChanged = false;
    bool m_bAssignEnabled = false;
    bool m_bOrderEnabled = false;
};

}  // namespace zz
