#pragma once
// A picture file decoded once with the platform's codecs (WIC), kept upright at a bounded size
// with a few halvings, and drawn scaled with area averaging.
//
// Loading needs COM on the calling thread (CoInitializeEx, either apartment model); drawing
// does not. Drawing keeps one scaled copy for the whole program: the play surface shows one
// picture at a time, so memory stays at one screen's worth however many pictures are loaded.
// Draw from one thread only.

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <stop_token>
#include <string>
#include <vector>

#include "view/bgra_image.h"

namespace zz {

struct KeptBound;

class CPicture {
public:
    CPicture() = default;
    CPicture(CPicture&& other) noexcept;
    CPicture& operator=(CPicture&& other) noexcept;
    CPicture(const CPicture&) = delete;
    CPicture& operator=(const CPicture&) = delete;

    // The first frame of the file; an empty picture when the file cannot be decoded, claims
    // an absurd size or stop was asked. The decoded copy is shrunk to fit maxWidth x maxHeight
    // (0 leaves a side unbounded), never enlarged: pass the largest size the picture will be
    // drawn at.
    static CPicture Load(const std::wstring& path, int maxWidth = 0, int maxHeight = 0,
                         std::stop_token stop = {});
    // The same, kept at exactly the size it will be drawn at, where drawing only copies; whole
    // when the picture is smaller than that on either side.
    static CPicture LoadAt(const std::wstring& path, int width, int height,
                           std::stop_token stop = {});

    explicit operator bool() const { return !m_levels.empty(); }

    // Size of the picture in the file, upright; 0 when empty.
    int Width() const { return m_width; }
    int Height() const { return m_height; }

    // Size of the copy kept, at most the picture's own; 0 when empty.
    int KeptWidth() const { return m_levels.empty() ? 0 : m_levels.front().width; }
    int KeptHeight() const { return m_levels.empty() ? 0 : m_levels.front().height; }

    // Bytes of decoded pixels this picture holds.
    std::size_t MemoryBytes() const;

    // The whole picture scaled into the rectangle x, y, width, height of a device context in
    // the default mapping mode; only the part inside the clip box is scaled. Drawing the same
    // picture at the same size again only copies; a new size scales once from the nearest
    // halving at least as large.
    void Draw(HDC dc, int x, int y, int width, int height) const;

    void Reset();

private:
    static CPicture Decode(const std::wstring& path, const KeptBound& bound, std::stop_token stop);

    std::vector<BgraImage> m_levels;  // the kept copy, then its halvings
    int m_width = 0;
    int m_height = 0;
    std::uint64_t m_id = 0;  // names this picture's scaled copy; never reused
};

}  // namespace zz
