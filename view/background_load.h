#pragma once
// The picture table loaded on the picture worker, by the same slot rules as LoadPictureTable,
// while the window goes on answering keys. Every worker thread decodes the walk's next file;
// the slots are still given in walk order, so they fill as a load of one file at a time fills
// them. The owner's thread takes each picture once it is whole, and may ask for a copy of a
// loaded picture at another size, which jumps the queue.

#include <algorithm>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <stop_token>
#include <string>
#include <utility>
#include <vector>

#include "settings/app_settings.h"
#include "settings/file_system.h"
#include "settings/media_library.h"
#include "view/picture_loader.h"
#include "view/picture_worker.h"

namespace zz {

// Picture: movable, default-constructed empty, false when empty.
template <typename Picture>
class BackgroundLoad {
public:
    // Run on the worker; an empty picture when the file cannot be decoded or stop was asked.
    using Decode = std::function<Picture(const std::string& path, std::stop_token stop)>;
    using DecodeAt =
        std::function<Picture(const std::string& path, int width, int height, std::stop_token)>;

    struct Loaded {
        int slot = -1;
        int sound = -1;
        Picture picture;
    };

    // fs must outlive the load. notify runs on the worker whenever there is something to
    // take or the load has ended; it must return at once.
    BackgroundLoad(PictureWorker& worker, const IFileSystem& fs, const std::string& programFolder,
                   CAppSettings soundMap, PictureLoadRules rules, Decode small, DecodeAt sized,
                   std::function<void()> notify)
        : m_worker(worker),
          m_state(
              std::make_shared<State>(fs, programFolder, std::move(soundMap), std::move(rules))) {
        m_state->small = std::move(small);
        m_state->sized = std::move(sized);
        m_state->notify = std::move(notify);
        m_state->lanes = worker.Threads();
        for (int i = 0; i < worker.Threads(); ++i) {
            worker.Post([state = m_state, &worker] { RunLane(*state, worker); });
        }
    }

    // The worker drops this load at once, within the file it decodes; nothing it still makes
    // reaches anyone.
    ~BackgroundLoad() { m_state->stop.request_stop(); }
    BackgroundLoad(const BackgroundLoad&) = delete;
    BackgroundLoad& operator=(const BackgroundLoad&) = delete;

    // The pictures made whole since the last call, each in its slot with its sound.
    std::vector<Loaded> TakeLoaded() { return TakeAll(m_state->loaded); }

    // The copies wished for that have come since the last call.
    std::vector<Loaded> TakeSized() { return TakeAll(m_state->sizedDone); }

    struct Wish {
        int slot = -1;
        int width = 0;
        int height = 0;
        bool operator==(const Wish&) const = default;
    };

    // The copies of pictures already taken wanted now, each at its size, in the order wished;
    // they come before any other file, one at a time, so that a copy's decoding never holds
    // memory beside another's. A wish left out before its copy was begun is dropped, so that
    // keys pressed in a burst leave no queue of copies nobody looks at any more.
    void WishFor(const std::vector<Wish>& wishes) {
        bool start = false;
        {
            const std::lock_guard lock(m_state->mutex);
            std::vector<Wished> wished;
            for (const Wish& wish : wishes) {
                const auto same = [&](const Wished& w) { return w.wish == wish; };
                if (wish.slot < 0 || wish.slot >= kPictureSlots ||
                    m_state->paths[wish.slot].empty() ||
                    std::find_if(wished.begin(), wished.end(), same) != wished.end()) {
                    continue;
                }
                const auto before =
                    std::find_if(m_state->wished.begin(), m_state->wished.end(), same);
                wished.push_back(before != m_state->wished.end() ? *before : Wished{wish});
                start = start || !wished.back().begun;
            }
            m_state->wished = std::move(wished);
            start = start && !m_state->making;
            m_state->making = m_state->making || start;
        }
        if (start) {
            m_worker.Post([state = m_state] { MakeWished(*state); }, true);
        }
    }

    // True once the whole table is loaded; result is then the load's outcome.
    bool Done(PictureLoadResult& result) const {
        const std::lock_guard lock(m_state->mutex);
        if (m_state->done) {
            result = m_state->fill.Result();
        }
        return m_state->done;
    }

private:
    // A walked file that a worker thread decodes; ticket is its place among them.
    struct Candidate {
        int ticket = 0;
        std::string path;
        std::string relName;
        std::string name;
        Picture picture;
    };

    struct Wished {
        Wish wish;
        bool begun = false;
    };

    struct State {
        State(const IFileSystem& fs, const std::string& programFolder, CAppSettings map,
              PictureLoadRules loadRules)
            : soundMap(std::move(map)),
              rules(std::move(loadRules)),
              walk(fs, PictureFolder(programFolder, rules.group),
                   std::string(PictureRelativeFolder(rules.group)),
                   [token = stop.get_token()] { return token.stop_requested(); }),
              fill(soundMap, rules) {}

        std::stop_source stop;
        Decode small;
        DecodeAt sized;
        std::function<void()> notify;
        const CAppSettings soundMap;
        const PictureLoadRules rules;

        // The walk's own, so that a long listing never holds up the owner's thread.
        std::mutex walkMutex;
        FolderWalk walk;
        int nextTicket = 0;

        std::mutex mutex;
        PictureTableFill fill;
        std::map<int, Candidate> decoded;  // waiting for the ones walked before them
        int nextToFill = 0;                // ticket
        int inHand = 0;                    // taken and not yet decoded
        int waitingPictures = 0;           // decoded pictures in `decoded`
        int lanes = 0;                     // worker threads still on this load
        bool done = false;
        std::vector<Loaded> loaded;
        std::vector<Loaded> sizedDone;
        std::vector<Wished> wished;  // as last wished for
        bool making = false;         // a worker thread makes the wished copies
        std::array<std::string, kPictureSlots> paths;
    };

    // Makes the wished copies not begun yet, in turn, until there is none.
    static void MakeWished(State& state) {
        for (;;) {
            Wish wish;
            std::string path;
            {
                const std::lock_guard lock(state.mutex);
                const auto next = std::find_if(state.wished.begin(), state.wished.end(),
                                               [](const Wished& w) { return !w.begun; });
                if (next == state.wished.end() || state.stop.stop_requested()) {
                    state.making = false;
                    return;
                }
                next->begun = true;
                wish = next->wish;
                path = state.paths[wish.slot];
            }
            Picture picture = state.sized(path, wish.width, wish.height, state.stop.get_token());
            if (picture) {  // else the picture already shown stays
                {
                    const std::lock_guard lock(state.mutex);
                    state.sizedDone.push_back(Loaded{wish.slot, -1, std::move(picture)});
                }
                state.notify();
            }
        }
    }

    static void RunLane(State& state, PictureWorker& worker) {
        Candidate candidate;
        for (;;) {
            worker.RunUrgent();  // the picture just chosen comes first
            if (!Take(state, candidate)) {
                break;
            }
            candidate.picture = state.small(candidate.path, state.stop.get_token());
            Fill(state, std::move(candidate));
        }
        bool last = false;
        {
            const std::lock_guard lock(state.mutex);
            last = --state.lanes == 0;
            state.done = last;
        }
        if (last) {
            state.notify();
        }
    }

    // The walk's next file to decode, unless the load is over or the pictures decoded and in
    // hand could already fill every slot left: then no more than the table's pictures are
    // ever held, and a lane still decoding goes on alone.
    static bool Take(State& state, Candidate& candidate) {
        const std::lock_guard walkLock(state.walkMutex);
        {
            const std::lock_guard lock(state.mutex);
            const int promised = state.fill.Result().count + state.waitingPictures + state.inHand;
            if (state.stop.stop_requested() || state.fill.Over() ||
                promised >= state.rules.maxCount) {
                return false;
            }
            ++state.inHand;
        }
        WalkFile file;
        while (state.walk.Next(file)) {
            if (state.fill.Wants(file.relName)) {
                candidate = Candidate{state.nextTicket++,
                                      std::string(file.path),
                                      std::string(file.relName),
                                      std::string(file.name),
                                      {}};
                return true;
            }
        }
        const std::lock_guard lock(state.mutex);
        --state.inHand;
        return false;
    }

    // Gives the slots in walk order: a file decoded early waits for the ones before it.
    static void Fill(State& state, Candidate candidate) {
        bool filled = false;
        {
            const std::lock_guard lock(state.mutex);
            --state.inHand;
            state.waitingPictures += candidate.picture ? 1 : 0;
            state.decoded.emplace(candidate.ticket, std::move(candidate));
            while (!state.decoded.empty() && state.decoded.begin()->first == state.nextToFill) {
                Candidate file = std::move(state.decoded.begin()->second);
                state.decoded.erase(state.decoded.begin());
                ++state.nextToFill;
                state.waitingPictures -= file.picture ? 1 : 0;
                if (state.fill.Over() || state.stop.stop_requested()) {
                    continue;
                }
                const int slot = state.fill.NextSlot(file.relName);
                if (!file.picture) {
                    state.fill.Undecodable(file.name);
                    continue;
                }
                const int sound = state.fill.Filled(slot, file.relName);
                state.paths[slot] = std::move(file.path);
                state.loaded.push_back(Loaded{slot, sound, std::move(file.picture)});
                filled = true;
            }
        }
        if (filled) {
            state.notify();
        }
    }

    std::vector<Loaded> TakeAll(std::vector<Loaded>& from) {
        const std::lock_guard lock(m_state->mutex);
        return std::exchange(from, {});
    }

    PictureWorker& m_worker;
    std::shared_ptr<State> m_state;
};

}  // namespace zz
