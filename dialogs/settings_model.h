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
    int maxMedia = -1;
    int displayOrder = -1;
    std::string group;
};

// A media folder to open in the file browser, after telling the parent what belongs there.
struct FolderPrompt {
    std::string folder;
    std::string message;
};

class SettingsModel {
public:
    explicit SettingsModel(std::string programFolder = ProgramFolder(),
                           IFileSystem& fs = SystemFileSystem());

    // Reads the settings file into the members, as the dialog opens; the group by the name
    // its folder has now.
    void Load();

    SettingsControls ToControls() const;
    void FromControls(const SettingsControls& controls);

    // 100 unless the maximum-media index is 0, so that -1 counts as 100.
    int MaxCount() const { return m_nMaxMedia != 0 ? 100 : 10; }

    FolderPrompt OnImagesFolder();
    FolderPrompt OnSoundsFolder() const;
    // The order dialog's list, taken back whatever way that dialog was left.
    void OnOrderDone(std::vector<std::string> order);
    // True when the order dialog is to follow, for the in-order display.
    bool OnGroupChosen(std::string group);
    void OnMaxMedia() { m_bMediaChanged = true; }
    void OnDisplayRandom();
    void OnDisplayInOrder() { m_bOrderEnabled = true; }
    void OnSoundOff() { m_bAssignEnabled = false; }
    void OnSoundOn() { m_bAssignEnabled = true; }
    // Writes one sound index per listed picture in one save, all or nothing, leaving out names
    // that cannot be keys; false when the file could not be written.
    bool OnSoundsAssigned(const std::vector<std::string>& pictureNames,
                          const std::vector<int>& assignments);

    // Stores the members and writes the settings file; false when it could not be written,
    // and the members stay as they are for another try. A radio pair that shows neither
    // button keeps the stored value it could not show.
    bool Store();

    std::string SaveFailedMessage() const;
    std::string AssignFailedMessage() const;

    CAppSettings m_settings;
    std::vector<std::string> m_orderList;
    bool m_bMediaChanged = false;
    std::string m_strGrowth;
    std::string m_strSpeed;
    std::string m_strMaxZoom;
    int m_nRotation = -1;
    int m_nStartMode = -1;
    int m_nMouse = -1;
    int m_nSound = -1;
    int m_nMaxMedia = -1;
    std::string m_strGroup;
    int m_nDisplayOrder = -1;
    // Buttons "割り付け" and "並び替え".
    bool m_bAssignEnabled = true;
    bool m_bOrderEnabled = true;

private:
    std::string m_programFolder;
    IFileSystem* m_fs;
};

// A path as one argument of a command line, so that blanks and commas stay inside it.
std::string QuotedArgument(std::string_view path);

}  // namespace zz
