#pragma once
// The sound assignment dialog without its window: the pictures with their stored sounds, the
// sounds to choose from, and what "割り付け" changes.

#include <optional>
#include <string>
#include <vector>

#include "settings/file_system.h"
#include "settings/text_encoding.h"

namespace zz {

// Why a picture cannot be given a sound: the settings file cannot hold its name as a key.
enum class KeyRefusal { kNone, kHasEquals, kStartsWithBracket };

struct AssignOutcome {
    bool assigned = false;
    KeyRefusal refusal = KeyRefusal::kNone;
    // Other pictures given the same sound: the settings file holds their names as one key.
    std::vector<size_t> alsoChanged;
};

class SoundAssignModel {
public:
    // Lists the pictures of the whole images tree and the playable sounds, each up to
    // maxCount, and reads each picture's stored sound from the settings file.
    SoundAssignModel(IFileSystem& fs, const std::string& programFolder, int maxCount);

    const std::vector<std::string>& PictureNames() const { return m_pictureNames; }
    // Per picture the stored sound index, -1 for random; values that name no sound are kept.
    const std::vector<int>& Assignments() const { return m_assignments; }
    // Sound row 0 is a random sound, row k the sound Sounds()[k - 1].
    const std::vector<std::string>& Sounds() const { return m_sounds; }
    // The picture's sound, none for a random one (also for a stored value that names none).
    std::optional<std::string> SoundOf(size_t picture) const;

    // Gives picture row p the sound of sound row s. Nothing changes when either is no row, or
    // when the picture's name cannot be a key of the settings file.
    AssignOutcome Assign(int pictureRow, int soundRow);

private:
    std::vector<std::string> m_pictureNames;
    std::vector<int> m_assignments;
    std::vector<std::string> m_sounds;
    // Per sound, its index in the play surface's sound list: the number that is stored.
    std::vector<int> m_soundIndices;
    TextEncoding m_encoding;  // the settings file's
};

}  // namespace zz
