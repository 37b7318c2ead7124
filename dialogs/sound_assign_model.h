#pragma once
// The sound assignment dialog without its window: the pictures with their stored sounds, the
// sounds to choose from, and what "割り付け" changes.

#include <string>
#include <string_view>
#include <vector>

#include "settings/file_system.h"
#include "settings/text_encoding.h"

namespace zz {

class CAppSettings;

// Shown for a picture without a valid sound, and the sound row that gives a random sound.
inline constexpr std::string_view kRandomSoundText = "ランダム";

struct AssignOutcome {
    bool assigned = false;
    // Other pictures given the same sound: the settings file holds their names as one key.
    std::vector<size_t> alsoChanged;
    // What the parent is to be told; empty when nothing.
    std::string message;
};

class SoundAssignModel {
public:
    // Lists the pictures of the whole images tree and the playable sounds, each up to
    // m_nMaxCount, and reads each picture's stored sound; settings must be loaded.
    void Build(const IFileSystem& fs, std::string_view programFolder, const CAppSettings& settings);

    // Row i of the picture list: "name = sound".
    std::string PictureRow(size_t picture) const;
    // "ランダム" first, then the sounds.
    const std::vector<std::string>& SoundRows() const { return m_soundRows; }

    // Gives picture row p the sound of sound row s. Nothing changes when either is no row, or
    // when the picture's name cannot be a key of the settings file (the message says why).
    AssignOutcome Assign(int pictureRow, int soundRow);

    std::vector<std::string> m_pictureNames;
    // Per picture the stored sound index, -1 for random; values that name no sound are kept.
    std::vector<int> m_assignments;
    int m_nMaxCount = 10;

private:
    // Row text of a stored value.
    std::string_view SoundText(int index) const;

    std::vector<std::string> m_soundRows;
    // Per sound row, its index in the play surface's sound list: the number that is stored.
    std::vector<int> m_soundIndices;
    TextEncoding m_encoding = TextEncoding::kCp932;
};

}  // namespace zz
