#include "dialogs/order_model.h"

#include <algorithm>
#include <map>
#include <optional>

#include "settings/ini_file.h"
#include "settings/media_library.h"

namespace zz {

namespace {

// Finds the file a relative name names, listing each folder once; a part matches a folder
// entry of its exact name, or one whose name the settings file holds in the part's form.
class FileLookup {
public:
    FileLookup(const IFileSystem& fs, TextEncoding encoding) : m_fs(fs), m_encoding(encoding) {}

    // The file's relative name as it is on disk; none when there is no such file. "." and
    // ".." never match, so a name cannot reach outside base.
    std::optional<std::string> Find(const std::string& base, std::string_view relName) {
        std::string folder = base;
        std::string found;
        while (true) {
            const size_t slash = relName.find(kRelativeSeparator);
            const std::string_view part = relName.substr(0, slash);
            if (part.empty() || part == "." || part == "..") {
                return std::nullopt;
            }
            const FolderEntry* entry = FindEntry(folder, part);
            if (entry == nullptr || entry->isFolder != (slash != std::string_view::npos)) {
                return std::nullopt;
            }
            found = JoinRelative(found, entry->name);
            if (slash == std::string_view::npos) {
                return found;
            }
            folder = JoinPath(folder, entry->name);
            relName.remove_prefix(slash + 1);
        }
    }

private:
    const FolderEntry* FindEntry(const std::string& folder, std::string_view name) {
        auto it = m_listings.find(folder);
        if (it == m_listings.end()) {
            std::vector<FolderEntry> entries;
            ListFolderSorted(m_fs, folder, entries);
            it = m_listings.emplace(folder, std::move(entries)).first;
        }
        const std::vector<FolderEntry>& entries = it->second;
        auto found = std::find_if(entries.begin(), entries.end(),
                                  [&](const FolderEntry& e) { return e.name == name; });
        if (found == entries.end()) {
            found = std::find_if(entries.begin(), entries.end(), [&](const FolderEntry& e) {
                return EncodingForm(e.name, m_encoding) == name;
            });
        }
        return found == entries.end() ? nullptr : &*found;
    }

    const IFileSystem& m_fs;
    TextEncoding m_encoding;
    std::map<std::string, std::vector<FolderEntry>, std::less<>> m_listings;
};

std::string_view LastPart(std::string_view relName) {
    const size_t slash = relName.rfind(kRelativeSeparator);
    return slash == std::string_view::npos ? relName : relName.substr(slash + 1);
}

}  // namespace

OrderListing BuildOrderList(const IFileSystem& fs, std::string_view programFolder,
                            std::string_view group, int maxCount,
                            const std::vector<std::string>& stored, TextEncoding encoding) {
    const std::string images = ImagesFolder(programFolder);
    const bool single = IsSingleGroup(group);
    const std::string groupForm = EncodingForm(group, encoding);
    FileLookup lookup(fs, encoding);
    OrderListing listing;
    std::vector<std::string> storedForms;
    for (const std::string& entry : stored) {
        storedForms.push_back(ValueForm(entry, encoding));
        // An entry of the group is looked up where it lies, sub-folders included; another
        // group's entry is shown when the group holds a file of its name.
        const bool own = !single || LiesInGroup(EncodingForm(entry, encoding), groupForm);
        std::optional<std::string> live =
            own ? lookup.Find(images, entry)
                : lookup.Find(PictureFolder(programFolder, group), LastPart(entry));
        if (live && !own) {
            live = entry;  // a namesake: the entry itself is what the list holds
        }
        listing.stored.push_back(live  ? StoredEntry::kShown
                                 : own ? StoredEntry::kGone
                                       : StoredEntry::kKept);
        if (live) {
            listing.rows.push_back(std::move(*live));
        }
    }
    WalkFolder(
        fs, PictureFolder(programFolder, group), PictureRelativeFolder(group), 0, maxCount,
        [&](const WalkFile& file) {
            if (!IsPictureFile(file.relName)) {
                return false;
            }
            const std::string form = ValueForm(file.relName, encoding);
            if (std::find(storedForms.begin(), storedForms.end(), form) == storedForms.end()) {
                listing.rows.emplace_back(file.relName);
            }
            return true;
        });
    return listing;
}

std::vector<std::string> MergeOrder(const std::vector<std::string>& stored,
                                    const OrderListing& listing,
                                    const std::vector<std::string>& rows) {
    std::vector<std::string> order;
    size_t next = 0;
    for (size_t i = 0; i < stored.size() && i < listing.stored.size(); ++i) {
        if (listing.stored[i] == StoredEntry::kKept) {
            order.push_back(stored[i]);
        } else if (listing.stored[i] == StoredEntry::kShown && next < rows.size()) {
            order.push_back(rows[next++]);
        }
    }
    order.insert(order.end(), rows.begin() + static_cast<std::ptrdiff_t>(next), rows.end());
    return order;
}

std::vector<std::string> OrderCollisions(const std::vector<std::string>& rows,
                                         TextEncoding encoding) {
    for (const std::string& row : rows) {
        std::vector<std::string> sharing = SharingStoredForm(rows, row, encoding, false);
        if (!sharing.empty()) {
            sharing.insert(sharing.begin(), row);
            return sharing;
        }
    }
    return {};
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
