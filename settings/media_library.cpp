#include "settings/media_library.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

#include "settings/app_settings.h"
#include "settings/ini_file.h"

namespace zz {

namespace {

// Upper case, as NTFS folds names when it orders a folder.
char FoldCase(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Extension from the last "." on, ASCII letters lowered. Multi-byte UTF-8 sequences have no
// bytes below 0x80, so lowering byte by byte never touches them.
std::optional<std::string> LowerExtension(std::string_view relName) {
    const size_t dot = relName.rfind('.');
    if (dot == std::string_view::npos) {
        return std::nullopt;
    }
    std::string ext(relName.substr(dot));
    std::transform(ext.begin(), ext.end(), ext.begin(), LowerAscii);
    return ext;
}

template <size_t N>
bool HasExtension(std::string_view relName, const std::array<std::string_view, N>& accepted) {
    const std::optional<std::string> ext = LowerExtension(relName);
    return ext && std::find(accepted.begin(), accepted.end(), *ext) != accepted.end();
}

}  // namespace

bool NameLess(std::string_view a, std::string_view b) {
    const auto folded = [](char x, char y) {
        // Unsigned, so that UTF-8 lead bytes sort after ASCII as they do in byte order.
        return static_cast<unsigned char>(FoldCase(x)) < static_cast<unsigned char>(FoldCase(y));
    };
    if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), folded)) {
        return true;
    }
    if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), folded)) {
        return false;
    }
    const auto exact = [](char x, char y) {
        return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
    };
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), exact);
}

bool ListFolderSorted(const IFileSystem& fs, const std::string& folder,
                      std::vector<FolderEntry>& entries, const std::function<bool()>& stopped) {
    entries.clear();
    if (!(stopped ? fs.ListFolderUntil(folder, entries, stopped)
                  : fs.ListFolder(folder, entries))) {
        entries.clear();
        return false;
    }
    std::sort(entries.begin(), entries.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return NameLess(a.name, b.name); });
    return true;
}

std::string ImagesFolder(std::string_view programFolder) {
    return JoinPath(programFolder, "images");
}

std::string SoundsFolder(std::string_view programFolder) {
    return JoinPath(programFolder, "sounds");
}

bool IsSingleGroup(std::string_view group) {
    return !group.empty() && group != kGroupChooseAtStart;
}

std::string PictureFolder(std::string_view programFolder, std::string_view group) {
    const std::string images = ImagesFolder(programFolder);
    return IsSingleGroup(group) ? JoinPath(images, group) : images;
}

std::string_view PictureRelativeFolder(std::string_view group) {
    return IsSingleGroup(group) ? group : std::string_view();
}

std::string JoinRelative(std::string_view relFolder, std::string_view name) {
    if (relFolder.empty()) {
        return std::string(name);
    }
    std::string relName;
    relName.reserve(relFolder.size() + 1 + name.size());
    relName.append(relFolder).push_back(kRelativeSeparator);
    relName.append(name);
    return relName;
}

std::optional<std::string_view> FolderPart(std::string_view relName) {
    const size_t slash = relName.rfind(kRelativeSeparator);
    if (slash == std::string_view::npos) {
        return std::nullopt;
    }
    return relName.substr(0, slash);
}

bool IsPictureFile(std::string_view relName) {
    static constexpr std::array<std::string_view, 6> kPictures = {".jpeg", ".jpg", ".jpe",
                                                                  ".jfif", ".bmp", ".png"};
    return HasExtension(relName, kPictures);
}

bool IsSoundFile(std::string_view relName) {
    static constexpr std::array<std::string_view, 2> kSounds = {".wav", ".wave"};
    return HasExtension(relName, kSounds);
}

int WalkFolder(const IFileSystem& fs, const std::string& folder, std::string_view relFolder,
               int count, int bound, const WalkVisitor& visit) {
    if (count >= bound) {
        return count;
    }
    FolderWalk walk(fs, folder, std::string(relFolder));
    WalkFile file;
    while (count < bound && walk.Next(file)) {
        if (visit(file)) {
            ++count;
        }
    }
    return count;
}

FolderWalk::FolderWalk(const IFileSystem& fs, std::string folder, std::string relFolder,
                       std::function<bool()> stopped)
    : m_fs(fs),
      m_stopped(std::move(stopped)),
      m_path(std::move(folder)),
      m_relName(std::move(relFolder)) {}

void FolderWalk::Enter(std::string path, std::string relName) {
    // The folder itself is depth 0.
    if (static_cast<int>(m_levels.size()) > kMaxWalkDepth) {
        return;
    }
    if (m_stopped && m_stopped()) {
        m_over = true;
        return;
    }
    Level level{std::move(path), std::move(relName), {}, 0};
    if (ListFolderSorted(m_fs, level.path, level.entries, m_stopped)) {
        m_levels.push_back(std::move(level));
    } else if (m_stopped && m_stopped()) {
        m_over = true;
    }
}

bool FolderWalk::Next(WalkFile& file) {
    if (!m_started) {
        m_started = true;
        Enter(std::move(m_path), std::move(m_relName));  // until now they named the folder
    }
    while (!m_over && !m_levels.empty()) {
        Level& level = m_levels.back();
        if (level.next == level.entries.size()) {
            m_levels.pop_back();
            continue;
        }
        const FolderEntry& entry = level.entries[level.next++];
        std::string path = JoinPath(level.path, entry.name);
        std::string relName = JoinRelative(level.relName, entry.name);
        if (entry.isFolder) {
            Enter(std::move(path), std::move(relName));
            continue;
        }
        m_path = std::move(path);
        m_relName = std::move(relName);
        const std::string_view rel = m_relName;
        file = WalkFile{m_path, rel, rel.substr(rel.size() - entry.name.size())};
        return true;
    }
    m_levels.clear();
    return false;
}

bool LiesInGroup(std::string_view relName, std::string_view group) {
    return relName.size() > group.size() && relName.starts_with(group) &&
           relName[group.size()] == kRelativeSeparator;
}

int OrderSlot(const std::vector<std::string>& order, std::string_view relName,
              std::string_view group) {
    // Follows the folder choice, so that every group value that loads the whole images folder
    // numbers its pictures by list position.
    const bool single = IsSingleGroup(group);
    int slot = 0;
    for (const std::string& entry : order) {
        if (entry == relName) {
            return slot;
        }
        // Pictures in a group's sub-folders are the group's too: they need slots of their own.
        if (!single || LiesInGroup(entry, group)) {
            ++slot;
        }
    }
    return -1;
}

std::vector<std::string> ListSoundNames(const IFileSystem& fs, std::string_view programFolder,
                                        int bound) {
    std::vector<std::string> names;
    std::vector<FolderEntry> entries;
    ListFolderSorted(fs, SoundsFolder(programFolder), entries);
    for (FolderEntry& entry : entries) {
        if (static_cast<int>(names.size()) >= bound) {
            break;
        }
        if (!entry.isFolder) {
            names.push_back(std::move(entry.name));
        }
    }
    return names;
}

std::vector<std::string> ListGroups(const IFileSystem& fs, std::string_view programFolder,
                                    std::size_t bound) {
    std::vector<std::string> groups;
    std::vector<FolderEntry> entries;
    ListFolderSorted(fs, ImagesFolder(programFolder), entries);
    for (FolderEntry& entry : entries) {
        if (groups.size() >= bound) {
            break;
        }
        if (entry.isFolder) {
            groups.push_back(std::move(entry.name));
        }
    }
    return groups;
}

std::string LiveGroupName(const IFileSystem& fs, std::string_view programFolder,
                          std::string_view stored, TextEncoding encoding) {
    if (!IsSingleGroup(stored)) {
        return std::string(stored);
    }
    const std::vector<std::string> groups = ListGroups(fs, programFolder, SIZE_MAX);
    if (std::find(groups.begin(), groups.end(), stored) != groups.end()) {
        return std::string(stored);
    }
    const auto it = std::find_if(groups.begin(), groups.end(), [&](const std::string& group) {
        return ValueForm(group, encoding) == stored;
    });
    return std::string(it == groups.end() ? stored : std::string_view(*it));
}

std::vector<std::string> SharingStoredForm(const std::vector<std::string>& names,
                                           std::string_view name, TextEncoding encoding,
                                           bool asKeys) {
    const auto form = [&](std::string_view text) {
        std::string result = asKeys ? KeyForm(text, encoding) : ValueForm(text, encoding);
        if (asKeys) {
            std::transform(result.begin(), result.end(), result.begin(), LowerAscii);
        }
        return result;
    };
    const std::string own = form(name);
    std::vector<std::string> sharing;
    for (const std::string& other : names) {
        if (other != name && form(other) == own &&
            std::find(sharing.begin(), sharing.end(), other) == sharing.end()) {
            sharing.push_back(other);
        }
    }
    return sharing;
}

int ReadSoundIndex(const CAppSettings& settings, std::string_view relName) {
    return settings.ReadInt(keys::kSoundFileSection, relName, -1);
}

int ValidSoundIndex(int index, int soundCount) {
    return (index >= -1 && index < soundCount) ? index : -1;
}

bool WriteSoundIndex(CAppSettings& settings, std::string_view relName, int index) {
    return settings.WriteInt(keys::kSoundFileSection, relName, index);
}

}  // namespace zz
