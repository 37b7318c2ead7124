#include "dialogs/sound_assign_model.h"

#include <algorithm>

#include "dialogs/typed_values.h"
#include "settings/app_settings.h"
#include "settings/ini_file.h"
#include "settings/media_library.h"

namespace zz {

namespace {

std::string CannotBeKeyMessage(std::string_view name) {
    const std::string_view reason = name.find('=') != std::string_view::npos
                                        ? "名前に「=」があるため"
                                        : "名前が「[」で始まるため";
    return "「" + std::string(name) + "」は、" + std::string(reason) +
           "設定ファイルに音声を記録できません。ファイルの名前を変えてから割り付けてください。";
}

}  // namespace

void SoundAssignModel::Build(const IFileSystem& fs, std::string_view programFolder,
                             const CAppSettings& settings) {
    m_pictureNames.clear();
    m_assignments.clear();
    m_soundRows.assign(1, std::string(kRandomSoundText));
    m_soundIndices.assign(1, -1);
    m_encoding = settings.m_encoding;
    WalkFolder(fs, ImagesFolder(programFolder), "", 0, m_nMaxCount, [&](const WalkFile& file) {
        if (!IsPictureFile(file.relName)) {
            return false;
        }
        m_pictureNames.emplace_back(file.relName);
        return true;
    });
    // Rows come from the play surface's own sound list, so a stored index plays the sound
    // that was chosen here; files it would play but that are no sounds are not offered.
    const std::vector<std::string> playList = ListSoundNames(fs, programFolder, m_nMaxCount);
    for (size_t i = 0; i < playList.size(); ++i) {
        if (IsSoundFile(playList[i])) {
            m_soundRows.push_back(playList[i]);
            m_soundIndices.push_back(static_cast<int>(i));
        }
    }
    for (const std::string& name : m_pictureNames) {
        m_assignments.push_back(ReadSoundIndex(settings, name));
    }
}

std::string SoundAssignModel::PictureRow(size_t picture) const {
    std::string row = m_pictureNames[picture];
    row.append(" = ").append(SoundText(m_assignments[picture]));
    return row;
}

AssignOutcome SoundAssignModel::Assign(int pictureRow, int soundRow) {
    AssignOutcome outcome;
    if (pictureRow < 0 || static_cast<size_t>(pictureRow) >= m_assignments.size() || soundRow < 0 ||
        static_cast<size_t>(soundRow) >= m_soundIndices.size()) {
        return outcome;
    }
    const auto picture = static_cast<size_t>(pictureRow);
    const std::string& name = m_pictureNames[picture];
    if (!IniFile::CanBeKey(name)) {
        outcome.message = CannotBeKeyMessage(name);
        return outcome;
    }
    const int sound = m_soundIndices[static_cast<size_t>(soundRow)];
    m_assignments[picture] = sound;
    outcome.assigned = true;
    std::vector<std::string> sharing = SharingStoredForm(m_pictureNames, name, m_encoding, true);
    for (size_t i = 0; i < m_pictureNames.size(); ++i) {
        if (std::find(sharing.begin(), sharing.end(), m_pictureNames[i]) != sharing.end()) {
            m_assignments[i] = sound;
            outcome.alsoChanged.push_back(i);
        }
    }
    if (!sharing.empty()) {
        sharing.insert(sharing.begin(), name);
        outcome.message =
            "次の画像は、設定ファイルの中では同じ名前になるため、同じ音声になります。"
            "別々の音声にするには、ファイルの名前を変えてください。" +
            QuotedLines(sharing);
    }
    return outcome;
}

std::string_view SoundAssignModel::SoundText(int index) const {
    const auto it = std::find(m_soundIndices.begin(), m_soundIndices.end(), index);
    if (it == m_soundIndices.end()) {
        return kRandomSoundText;
    }
    return m_soundRows[static_cast<size_t>(it - m_soundIndices.begin())];
}

}  // namespace zz
