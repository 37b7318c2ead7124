#pragma once
// The view's picture table, loaded on threads of their own: a small copy of every picture, and
// copies at the size their growth ends at of the few around the current one, so that memory
// stays bounded whatever the folders hold and the last ticks of a growth only copy. Used from
// the window's thread only.

#include <windows.h>

#include <array>
#include <bitset>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "view/background_load.h"
#include "view/picture_loader.h"
#include "view/picture_worker.h"
#include "view/win32/picture.h"

namespace zz {

// Posted to the window given to Load whenever TakeUpdates has something.
inline constexpr UINT kPicturesReadyMessage = WM_APP + 8;

class CPictureStore {
public:
    // Threads that decode side by side: both cores of a small machine.
    static constexpr int kDecodeThreads = 2;

    explicit CPictureStore(int decodeThreads = kDecodeThreads);

    // Drops every picture and starts loading the table; a load under way is abandoned at once.
    void Load(HWND notify, const std::string& programFolder, const PictureLoadRules& rules);

    struct Update {
        bool changed = false;  // pictures came or the load ended
        bool done = false;     // the load is over; result holds its outcome
        PictureLoadResult result;
    };
    // Takes over what the worker has finished since the last call.
    Update TakeUpdates();

    bool Loading() const { return m_load != nullptr && !m_done; }
    // Pictures loaded so far, and the pictures in slots 0, 1, … without a gap.
    int LoadedCount() const { return m_loadedCount; }
    int LeadingCount() const;
    int Sound(int slot) const { return m_sounds[slot]; }
    const std::array<int, kPictureSlots>& Sounds() const { return m_sounds; }

    bool GetSize(int slot, int& width, int& height) const;
    // The slot's picture scaled into the rectangle, from its large copy when it has one.
    void Draw(int slot, HDC dc, int x, int y, int width, int height);
    // A slot shown now or next, and the size it grows to.
    using Wanted = BackgroundLoad<CPicture>::Wish;
    // Copies at those sizes are made unless there or the small copy is large enough; copies
    // wanted before and no longer are dropped unless begun.
    void Want(const std::vector<Wanted>& wanted);
    // True when the slot's large copy came with the last TakeUpdates.
    bool LargeArrived(int slot) const { return m_arrived[std::size_t(slot)]; }

    std::size_t MemoryBytes() const;

private:
    struct LargeCopy {
        int slot = -1;
        std::uint64_t used = 0;
        CPicture picture;
    };
    LargeCopy* FindLarge(int slot);
    void KeepLarge(int slot, CPicture picture);

    PictureWorker m_worker;
    std::unique_ptr<BackgroundLoad<CPicture>> m_load;
    bool m_done = false;
    std::array<CPicture, kPictureSlots> m_small;
    std::array<int, kPictureSlots> m_sounds{};
    int m_loadedCount = 0;
    // The current one and the next in order (the previous at random): a third would hold as
    // much memory as a photo's decoding.
    std::array<LargeCopy, 2> m_large;
    std::uint64_t m_uses = 0;
    std::bitset<kPictureSlots> m_arrived;
};

}  // namespace zz
