#include "dialogs/sound_assign_model.h"

#include <algorithm>

#include "settings/media_library.h"

namespace zz {

void SoundAssignModel::Build(const IFileSystem& fs, std::string_view programFolder,
                             const CAppSettings& settings) {
    m_pictureNames.clear();
    m_assignments.clear();
    m_soundRows.clear();
    m_soundIndices.clear();
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

bool SoundAssignModel::Assign(int pictureRow, int soundRow) {
    if (pictureRow < 0 || static_cast<size_t>(pictureRow) >= m_assignments.size() || soundRow < 0 ||
        static_cast<size_t>(soundRow) >= m_soundIndices.size()) {
        return false;
    }
    m_assignments[static_cast<size_t>(pictureRow)] = m_soundIndices[static_cast<size_t>(soundRow)];
    return true;
}

std::string_view SoundAssignModel::SoundText(int index) const {
    const auto it = std::find(m_soundIndices.begin(), m_soundIndices.end(), index);
    if (index < 0 || it == m_soundIndices.end()) {
        return kRandomSoundText;
    }
    return m_soundRows[static_cast<size_t>(it - m_soundIndices.begin())];
}

}  // namespace zz
