#pragma once
// The picture table loaded on the picture worker, by the same slot rules as LoadPictureTable,
// while the window goes on answering keys. The owner's thread takes each picture once it is
// whole, and may ask for a larger copy of a loaded picture, which jumps the queue.

#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "settings/app_settings.h"
#include "settings/file_system.h"
#include "view/picture_loader.h"
#include "view/picture_worker.h"

namespace zz {

// Picture: movable, default-constructed empty, false when empty.
template <typename Picture>
class BackgroundLoad {
public:
    // Runs on the worker; an empty picture when the file cannot be decoded.
    using Decode = std::function<Picture(const std::string& path)>;

    struct Loaded {
        int slot = -1;
        int sound = -1;
        Picture picture;
    };

    // fs must outlive the load. notify runs on the worker whenever there is something to
    // take or the load has ended; it must return at once.
    BackgroundLoad(PictureWorker& worker, const IFileSystem& fs, std::string programFolder,
                   CAppSettings soundMap, PictureLoadRules rules, Decode small, Decode large,
                   std::function<void()> notify)
        : m_worker(worker), m_state(std::make_shared<State>()) {
        m_state->large = std::move(large);
        m_state->notify = std::move(notify);
        worker.Post([state = m_state, &worker, &fs, folder = std::move(programFolder),
                     soundMap = std::move(soundMap), rules = std::move(rules),
                     small = std::move(small)] {
            SlotDecoder decoder(*state, worker, small);
            PictureLoadResult result = LoadPictureTable(fs, folder, soundMap, rules, decoder);
            {
                const std::lock_guard lock(state->mutex);
                state->result = std::move(result);
                state->done = true;
            }
            state->notify();
        });
    }

    // The worker drops this load at its next file; nothing it still makes reaches anyone.
    ~BackgroundLoad() { m_state->cancelled = true; }
    BackgroundLoad(const BackgroundLoad&) = delete;
    BackgroundLoad& operator=(const BackgroundLoad&) = delete;

    // The pictures made whole since the last call, each in its slot with its sound.
    std::vector<Loaded> TakeLoaded() { return TakeAll(m_state->loaded); }

    // The larger copies asked for that have come since the last call.
    std::vector<Loaded> TakeLarge() { return TakeAll(m_state->largeDone); }

    // Asks for the larger copy of a picture already taken; it comes before any other file.
    void RequestLarge(int slot) {
        std::string path;
        {
            const std::lock_guard lock(m_state->mutex);
            if (slot < 0 || slot >= kPictureSlots || m_state->paths[slot].empty()) {
                return;
            }
            path = m_state->paths[slot];
        }
        m_worker.Post(
            [state = m_state, slot, path] {
                if (state->cancelled) {
                    return;
                }
                Picture picture = state->large(path);
                if (!picture) {
                    return;  // the picture already shown stays
                }
                {
                    const std::lock_guard lock(state->mutex);
                    state->largeDone.push_back(Loaded{slot, -1, std::move(picture)});
                }
                state->notify();
            },
            true);
    }

    // True once the whole table is loaded; result is then the load's outcome.
    bool Done(PictureLoadResult& result) const {
        const std::lock_guard lock(m_state->mutex);
        if (m_state->done) {
            result = m_state->result;
        }
        return m_state->done;
    }

private:
    struct State {
        std::mutex mutex;
        std::vector<Loaded> loaded;
        std::vector<Loaded> largeDone;
        std::array<std::string, kPictureSlots> paths;
        bool done = false;
        PictureLoadResult result;
        std::atomic<bool> cancelled{false};
        Decode large;
        std::function<void()> notify;
    };

    // The slot rules' decoder: each picture is handed over whole, once its slot counts.
    class SlotDecoder : public IPictureDecoder {
    public:
        SlotDecoder(State& state, PictureWorker& worker, const Decode& decode)
            : m_state(state), m_worker(worker), m_decode(decode) {}

        bool LoadSlot(int /*slot*/, const std::string& path) override {
            if (m_state.cancelled) {
                return false;
            }
            m_worker.RunUrgent();  // the picture just chosen comes first
            m_pending = m_decode(path);
            m_pendingPath = path;
            return static_cast<bool>(m_pending);
        }

        void SlotFilled(int slot, int sound) override {
            {
                const std::lock_guard lock(m_state.mutex);
                m_state.paths[slot] = std::move(m_pendingPath);
                m_state.loaded.push_back(Loaded{slot, sound, std::move(m_pending)});
            }
            m_pending = Picture();
            m_state.notify();
        }

    private:
        State& m_state;
        PictureWorker& m_worker;
        const Decode& m_decode;
        Picture m_pending;
        std::string m_pendingPath;
    };

    std::vector<Loaded> TakeAll(std::vector<Loaded>& from) {
        const std::lock_guard lock(m_state->mutex);
        return std::exchange(from, {});
    }

    PictureWorker& m_worker;
    std::shared_ptr<State> m_state;
};

}  // namespace zz
