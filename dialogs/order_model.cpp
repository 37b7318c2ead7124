#include "dialogs/order_model.h"

#include <algorithm>
#include <map>

#include "settings/media_library.h"

namespace zz {

namespace {

// Answers whether a relative name names a file, listing each folder once.
class FileLookup {
public:
    explicit FileLookup(const IFileSystem& fs) : m_fs(fs) {}

    // relName's parts are joined to base; "." and ".." never match, so a name cannot reach
    // outside base.
    bool Exists(const std::string& base, std::string_view relName) {
        std::string folder = base;
        while (true) {
            const size_t slash = relName.find(kRelativeSeparator);
            const std::string_view part = relName.substr(0, slash);
            if (part.empty() || part == "." || part == "..") {
                return false;
            }
            const FolderEntry* entry = Find(folder, part);
            if (slash == std::string_view::npos) {
                return entry != nullptr && !entry->isFolder;
            }
            if (entry == nullptr || !entry->isFolder) {
                return false;
            }
            folder = JoinPath(folder, part);
            relName.remove_prefix(slash + 1);
        }
    }

private:
    const FolderEntry* Find(const std::string& folder, std::string_view name) {
        auto it = m_listings.find(folder);
        if (it == m_listings.end()) {
            std::vector<FolderEntry> entries;
            if (!m_fs.ListFolder(folder, entries)) {
                entries.clear();
            }
            it = m_listings.emplace(folder, std::move(entries)).first;
        }
        const auto found = std::find_if(it->second.begin(), it->second.end(),
                                        [&](const FolderEntry& e) { return e.name == name; });
        return found == it->second.end() ? nullptr : &*found;
    }

    const IFileSystem& m_fs;
    std::map<std::string, std::vector<FolderEntry>, std::less<>> m_listings;
};

std::string_view LastPart(std::string_view relName) {
    const size_t slash = relName.rfind(kRelativeSeparator);
    return slash == std::string_view::npos ? relName : relName.substr(slash + 1);
}

}  // namespace

std::vector<std::string> BuildOrderList(const IFileSystem& fs, std::string_view programFolder,
                                        std::string_view group, int maxCount,
                                        const std::vector<std::string>& stored) {
    const std::string images = ImagesFolder(programFolder);
    const std::string folder = PictureFolder(programFolder, group);
    FileLookup lookup(fs);
    std::vector<std::string> list;
    for (const std::string& entry : stored) {
        // An entry of the group is looked up where it lies, sub-folders included; any other
        // entry stays when the group holds a file of its name.
        const bool exists = !IsSingleGroup(group)       ? lookup.Exists(images, entry)
                            : LiesInGroup(entry, group) ? lookup.Exists(images, entry)
                                                        : lookup.Exists(folder, LastPart(entry));
        if (exists) {
            list.push_back(entry);
        }
    }
    WalkFolder(fs, folder, PictureRelativeFolder(group), 0, maxCount, [&](const WalkFile& file) {
        if (!IsPictureFile(file.relName)) {
            return false;
        }
        if (std::find(stored.begin(), stored.end(), file.relName) == stored.end()) {
            list.emplace_back(file.relName);
        }
        return true;
    });
    return list;
}

OrderMove ReorderKeys::OnKeyDown(unsigned key) {
    if (key == kKeyControl) {
        m_bCtrlDown = true;
    } else if (key == kKeyUp && m_bCtrlDown) {
        return OrderMove::kUp;
    } else if (key == kKeyDown && m_bCtrlDown) {
        return OrderMove::kDown;
    }
    return OrderMove::kNone;
}

void ReorderKeys::OnKeyUp(unsigned key) {
    if (key == kKeyControl) {
        m_bCtrlDown = false;
    }
}

int OrderMoveTarget(int selected, int count, OrderMove move) {
    if (selected < 0 || selected >= count) {
        return -1;
    }
    if (move == OrderMove::kUp && selected > 0) {
        return selected - 1;
    }
    if (move == OrderMove::kDown && selected < count - 1) {
        return selected + 1;
    }
    return -1;
}

}  // namespace zz
