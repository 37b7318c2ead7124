#include "view/win32/picture_store.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "framework/com_init.h"
#include "framework/unicode.h"
#include "settings/app_settings.h"
#include "view/image_header.h"

namespace zz {
namespace {

// The small copy fits a quarter of a full-HD screen: about 1 MB a picture with its halvings,
// sharp for the first ticks of the growth while the large copy is made.
constexpr int kSmallSide = 480;

// Each decoding thread's COM, from its start to its end.
thread_local std::optional<ComInitialization> t_com;

}  // namespace

CPictureStore::CPictureStore(int decodeThreads)
    : m_worker(
          decodeThreads,
          [] {
              // Its own COM apartment for the codecs; without it a load only fails. Below the
              // window's thread, so that keys and paints come first on a busy machine.
              t_com.emplace(ComInitialization::Kind::kMultithreaded);
              // Ignored on purpose: at the same priority the pictures only come later.
              (void)SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
          },
          [] { t_com.reset(); }) {
    m_sounds.fill(-1);
}

void CPictureStore::Load(HWND notify, const std::string& programFolder,
                         const PictureLoadRules& rules) {
    m_load.reset();
    m_worker.DropQueued();
    for (CPicture& picture : m_small) {
        picture.Reset();
    }
    for (LargeCopy& copy : m_large) {
        copy = LargeCopy();
    }
    m_sounds.fill(-1);
    m_loadedCount = 0;
    m_done = false;
    m_arrived.reset();
    m_load = std::make_unique<BackgroundLoad<CPicture>>(
        m_worker, SystemFileSystem(), programFolder, CAppSettings(programFolder), rules,
        [](const std::string& path, std::stop_token stop) {
            return CPicture::Load(Widen(path), kSmallSide, kSmallSide, stop);
        },
        [](const std::string& path, int width, int height, std::stop_token stop) {
            return CPicture::LoadAt(Widen(path), width, height, stop);
        },
        // A lost message only delays the pictures until the next one.
        [notify] { PostMessageW(notify, kPicturesReadyMessage, 0, 0); });
}

CPictureStore::Update CPictureStore::TakeUpdates() {
    Update update;
    m_arrived.reset();
    if (!m_load) {
        return update;
    }
    const bool done = m_load->Done(update.result);  // first: nothing comes after the end
    for (auto& loaded : m_load->TakeLoaded()) {
        if (!m_small[loaded.slot]) {
            ++m_loadedCount;
        }
        m_small[loaded.slot] = std::move(loaded.picture);
        m_sounds[loaded.slot] = loaded.sound;
        update.changed = true;
    }
    for (auto& large : m_load->TakeSized()) {
        m_arrived.set(large.slot);
        KeepLarge(large.slot, std::move(large.picture));
        update.changed = true;
    }
    if (done && !m_done) {
        m_done = true;
        update.done = true;
        update.changed = true;
    }
    return update;
}

int CPictureStore::LeadingCount() const {
    int count = 0;
    while (count < kPictureSlots && m_small[count]) {
        ++count;
    }
    return count;
}

bool CPictureStore::GetSize(int slot, int& width, int& height) const {
    const CPicture& picture = m_small[slot];
    if (!picture) {
        return false;
    }
    width = picture.Width();
    height = picture.Height();
    return true;
}

void CPictureStore::Draw(int slot, HDC dc, int x, int y, int width, int height) {
    const CPicture& small = m_small[slot];
    LargeCopy* large = FindLarge(slot);
    if (large != nullptr && (width > small.KeptWidth() || height > small.KeptHeight())) {
        large->picture.Draw(dc, x, y, width, height);
    } else {
        small.Draw(dc, x, y, width, height);
    }
}

void CPictureStore::Want(const std::vector<Wanted>& wanted) {
    if (!m_load) {
        return;
    }
    std::vector<Wanted> missing;
    for (const Wanted& wish : wanted) {
        if (wish.slot < 0 || wish.slot >= kPictureSlots || !m_small[wish.slot]) {
            continue;
        }
        const CPicture& small = m_small[wish.slot];
        const PixelSize kept =
            KeptSizeFor(small.Width(), small.Height(), {wish.width, wish.height, true});
        if (kept.width <= small.KeptWidth() && kept.height <= small.KeptHeight()) {
            continue;  // drawn from the small copy all the way
        }
        LargeCopy* large = FindLarge(wish.slot);
        if (large != nullptr && large->picture.KeptWidth() == kept.width &&
            large->picture.KeptHeight() == kept.height) {
            large->used = ++m_uses;
            continue;
        }
        missing.push_back(wish);
    }
    m_load->WishFor(missing);
}

std::size_t CPictureStore::MemoryBytes() const {
    std::size_t bytes = 0;
    for (const CPicture& picture : m_small) {
        bytes += picture.MemoryBytes();
    }
    for (const LargeCopy& copy : m_large) {
        bytes += copy.picture.MemoryBytes();
    }
    return bytes;
}

CPictureStore::LargeCopy* CPictureStore::FindLarge(int slot) {
    for (LargeCopy& copy : m_large) {
        if (copy.slot == slot && copy.picture) {
            return &copy;
        }
    }
    return nullptr;
}

void CPictureStore::KeepLarge(int slot, CPicture picture) {
    LargeCopy* place = FindLarge(slot);
    if (place == nullptr) {
        // The copy used longest ago makes room.
        place = &*std::min_element(
            m_large.begin(), m_large.end(),
            [](const LargeCopy& a, const LargeCopy& b) { return a.used < b.used; });
    }
    place->slot = slot;
    place->used = ++m_uses;
    place->picture = std::move(picture);
}

}  // namespace zz
