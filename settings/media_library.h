#pragma once
// Where pictures and sounds lie, how they are listed and named, and how they pair up: the
// rules shared by the play surface and the settings dialogs.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/file_system.h"
#include "settings/settings_keys.h"
#include "settings/text_encoding.h"

namespace zz {

class CAppSettings;

using keys::kGroupChooseAtStart;

// Relative names keep a backslash between parts on every platform: they are stored in the
// settings file, which Windows programs share.
inline constexpr char kRelativeSeparator = '\\';

// The dialogs offer no more groups than this.
inline constexpr int kMaxGroups = 10;

// Nested folders deeper than this are not entered, so that a folder loop or a pathological
// chain of folders cannot exhaust the stack.
inline constexpr int kMaxWalkDepth = 100;

// --- Listing

// True when a sorts before b: ASCII letters compared without case, then byte order; names
// that differ only in case are ordered by their exact bytes.
bool NameLess(std::string_view a, std::string_view b);

// The folder's entries sorted by NameLess, so that every file system gives the same order
// and stored sound indices stay valid. False when the folder cannot be listed, or stopped
// answered true on the way (see IFileSystem::ListFolderUntil).
bool ListFolderSorted(const IFileSystem& fs, const std::string& folder,
                      std::vector<FolderEntry>& entries, const std::function<bool()>& stopped = {});

// --- Folders

std::string ImagesFolder(std::string_view programFolder);
std::string SoundsFolder(std::string_view programFolder);

// True when the group value names one group rather than all of them or the start-up choice.
bool IsSingleGroup(std::string_view group);

// The folder whose pictures the group value takes.
std::string PictureFolder(std::string_view programFolder, std::string_view group);

// Relative name of PictureFolder below the images folder: the group, or empty for all groups.
std::string_view PictureRelativeFolder(std::string_view group);

// --- Relative names

// relFolder + backslash + name, or name alone when relFolder is empty.
std::string JoinRelative(std::string_view relFolder, std::string_view name);

// The name up to its last backslash; none when it has no backslash.
std::optional<std::string_view> FolderPart(std::string_view relName);

// Picture extensions are .jpeg .jpg .jpe .jfif .bmp .png, sounds .wav .wave, in any case.
bool IsPictureFile(std::string_view relName);
bool IsSoundFile(std::string_view relName);

// --- Walks

// Valid for the duration of the visitor's call.
struct WalkFile {
    std::string_view path;     // full path, as the platform writes it
    std::string_view relName;  // below the media folder, backslashes between parts
    std::string_view name;     // file name alone
};

// Says whether the file counts toward the bound.
using WalkVisitor = std::function<bool(const WalkFile& file)>;

// Walks folder depth first in sorted order, each sub-folder where its parent lists it, and
// hands every file to visit while the count is below bound. The count and the bound are shared
// by all levels. relFolder is the folder's own relative name (empty for a media folder). A
// folder that cannot be listed adds nothing. Returns the new count.
int WalkFolder(const IFileSystem& fs, const std::string& folder, std::string_view relFolder,
               int count, int bound, const WalkVisitor& visit);

// The same walk handed out one file at a time, so that its caller decides when it ends. A
// folder is listed only when the walk reaches it.
class FolderWalk {
public:
    // stopped, when given, is asked before each folder is listed and while it is; true ends the
    // walk there, so that an abandoned walk lists nothing more whatever the folders hold.
    FolderWalk(const IFileSystem& fs, std::string folder, std::string relFolder,
               std::function<bool()> stopped = {});

    // The next file, valid until the next call; false once the walk is over.
    bool Next(WalkFile& file);

private:
    struct Level {
        std::string path;
        std::string relName;
        std::vector<FolderEntry> entries;
        std::size_t next = 0;
    };
    void Enter(std::string path, std::string relName);

    const IFileSystem& m_fs;
    std::function<bool()> m_stopped;
    std::vector<Level> m_levels;  // the folders entered, outermost first
    bool m_started = false;
    bool m_over = false;  // stopped
    std::string m_path;   // of the file handed out last
    std::string m_relName;
};

// True when the relative name lies in the group's folder, directly or in a sub-folder.
bool LiesInGroup(std::string_view relName, std::string_view group);

// Slot of a picture in the stored order: its position in the list for all groups, or, for a
// single group, the number of earlier entries lying in that group. -1 when the list does not
// name it. Names are compared exactly: relName and group in the form the file holds them.
int OrderSlot(const std::vector<std::string>& order, std::string_view relName,
              std::string_view group);

// Names of the files directly in the sounds folder, in listing order, at most bound of them.
std::vector<std::string> ListSoundNames(const IFileSystem& fs, std::string_view programFolder,
                                        int bound);

// Direct sub-folders of the images folder in listing order, at most bound of them.
std::vector<std::string> ListGroups(const IFileSystem& fs, std::string_view programFolder,
                                    std::size_t bound = kMaxGroups);

// --- Names as the settings file holds them

// The group that a group value read from the settings file stands for: the folder of exactly
// that name, else the first whose name the file holds in that form (a name the code page
// cannot hold is stored with '?'); the value itself when no folder matches.
std::string LiveGroupName(const IFileSystem& fs, std::string_view programFolder,
                          std::string_view stored, TextEncoding encoding);

// The other names among names that a settings file of this encoding would hold in the same
// form as name, as values, or as keys when asKeys (which also ignores ASCII case): two such
// names cannot be told apart once stored.
std::vector<std::string> SharingStoredForm(const std::vector<std::string>& names,
                                           std::string_view name, TextEncoding encoding,
                                           bool asKeys);

// --- Sound map

// Stored sound index of a picture, -1 (random) when none is stored.
int ReadSoundIndex(const CAppSettings& settings, std::string_view relName);

// The index itself when it is a valid index of a list of soundCount sounds or -1, else -1.
int ValidSoundIndex(int index, int soundCount);

bool WriteSoundIndex(CAppSettings& settings, std::string_view relName, int index);

}  // namespace zz
