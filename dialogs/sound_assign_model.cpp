#include "dialogs/sound_assign_model.h"

#include <algorithm>

#include "settings/app_settings.h"
#include "settings/ini_file.h"
#include "settings/media_library.h"

namespace zz {

SoundAssignModel::SoundAssignModel(IFileSystem& fs, const std::string& programFolder,
                                   int maxCount) {
    const CAppSettings store(programFolder, fs);
    m_encoding = store.Load().encoding;
    WalkFolder(fs, ImagesFolder(programFolder), "", 0, maxCount, [&](const WalkFile& file) {
        if (!IsPictureFile(file.relName)) {
            return false;
        }
        m_pictureNames.emplace_back(file.relName);
        m_assignments.push_back(ReadSoundIndex(store, file.relName));
        return true;
    });
    // Rows come from the play surface's own sound list, so a stored index plays the sound
    // that was chosen here; files it would play but that are no sounds are not offered.
    int index = 0;
    for (const std::string& name : ListSoundNames(fs, programFolder, maxCount)) {
        if (IsSoundFile(name)) {
            m_sounds.push_back(name);
            m_soundIndices.push_back(index);
        }
        ++index;
    }
}

std::optional<std::string> SoundAssignModel::SoundOf(size_t picture) const {
    const auto it = std::find(m_soundIndices.begin(), m_soundIndices.end(), m_assignments[picture]);
    if (it == m_soundIndices.end()) {
        return std::nullopt;
    }
    return m_sounds[static_cast<size_t>(it - m_soundIndices.begin())];
}

AssignOutcome SoundAssignModel::Assign(int pictureRow, int soundRow) {
    AssignOutcome outcome;
    if (pictureRow < 0 || static_cast<size_t>(pictureRow) >= m_assignments.size() || soundRow < 0 ||
        static_cast<size_t>(soundRow) > m_soundIndices.size()) {
        return outcome;
    }
    const auto picture = static_cast<size_t>(pictureRow);
    const std::string& name = m_pictureNames[picture];
    if (!IniFile::CanBeKey(name)) {
        outcome.refusal = name.find('=') != std::string::npos ? KeyRefusal::kHasEquals
                                                              : KeyRefusal::kStartsWithBracket;
        return outcome;
    }
    const int sound = soundRow == 0 ? -1 : m_soundIndices[static_cast<size_t>(soundRow - 1)];
    m_assignments[picture] = sound;
    outcome.assigned = true;
    const std::vector<std::string> sharing =
        SharingStoredForm(m_pictureNames, name, m_encoding, true);
    for (size_t i = 0; i < m_pictureNames.size(); ++i) {
        if (std::find(sharing.begin(), sharing.end(), m_pictureNames[i]) != sharing.end()) {
            m_assignments[i] = sound;
            outcome.alsoChanged.push_back(i);
        }
    }
    return outcome;
}

}  // namespace zz
