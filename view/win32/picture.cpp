#include "view/win32/picture.h"

#include <atomic>
#include <utility>

#include "view/picture_levels.h"
#include "view/win32/scaled_copy.h"
#include "view/win32/wic_decode.h"

namespace zz {

CPicture::CPicture(CPicture&& other) noexcept
    : m_levels(std::move(other.m_levels)),
      m_width(std::exchange(other.m_width, 0)),
      m_height(std::exchange(other.m_height, 0)),
      m_id(std::exchange(other.m_id, 0)) {
    other.m_levels.clear();
}

CPicture& CPicture::operator=(CPicture&& other) noexcept {
    if (this != &other) {
        m_levels = std::move(other.m_levels);
        other.m_levels.clear();
        m_width = std::exchange(other.m_width, 0);
        m_height = std::exchange(other.m_height, 0);
        m_id = std::exchange(other.m_id, 0);
    }
    return *this;
}

CPicture CPicture::Load(const std::wstring& path, int maxWidth, int maxHeight,
                        std::stop_token stop) {
    return Decode(path, KeptBound{maxWidth, maxHeight, false}, stop);
}

CPicture CPicture::LoadAt(const std::wstring& path, int width, int height, std::stop_token stop) {
    return Decode(path, KeptBound{width, height, true}, stop);
}

CPicture CPicture::Decode(const std::wstring& path, const KeptBound& bound, std::stop_token stop) {
    static std::atomic<std::uint64_t> lastId{0};
    DecodedPicture decoded;
    CPicture picture;
    if (!DecodePictureFile(path, bound, decoded, stop)) {
        return picture;
    }
    picture.m_levels = BuildLevels(std::move(decoded.image));
    picture.m_width = decoded.width;
    picture.m_height = decoded.height;
    picture.m_id = ++lastId;
    return picture;
}

std::size_t CPicture::MemoryBytes() const {
    return LevelBytes(m_levels);
}

void CPicture::Draw(HDC dc, int x, int y, int width, int height) const {
    DrawScaled(m_levels, m_id, dc, x, y, width, height);
}

void CPicture::Reset() {
    *this = CPicture();
}

}  // namespace zz
