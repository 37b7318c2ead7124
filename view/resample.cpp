#include "view/resample.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include <emmintrin.h>

namespace zz {

// The scaler runs on x86-64 only, where SSE2 is always there.
static_assert(std::endian::native == std::endian::little, "pixels are read as little-endian lanes");

void AxisWeights::Compute(int srcLength, int dstLength, int first, int length) {
    start.clear();
    count.clear();
    offset.clear();
    weights.clear();
    const std::int64_t src = srcLength;
    const std::int64_t dst = dstLength;
    for (std::int64_t i = first; i < std::int64_t(first) + length; ++i) {
        offset.push_back(int(weights.size()));
        if (dst <= src) {
            // Destination pixel i covers [i * src, (i + 1) * src) in units of 1/dst source
            // pixels: integer bounds, so the shares are exact.
            const std::int64_t a = i * src;
            const std::int64_t b = (i + 1) * src;
            const std::int64_t s = a / dst;
            const std::int64_t e = (b + dst - 1) / dst;
            for (std::int64_t j = s; j < e; ++j) {
                const std::int64_t covered = std::min((j + 1) * dst, b) - std::max(j * dst, a);
                weights.push_back(double(covered) / double(src));
            }
            start.push_back(int(s));
            count.push_back(int(e - s));
            continue;
        }
        const double centre = (double(i) + 0.5) * double(src) / double(dst) - 0.5;
        const std::int64_t j = std::int64_t(std::floor(centre));
        if (j < 0 || j >= src - 1) {
            start.push_back(int(std::clamp<std::int64_t>(j, 0, src - 1)));
            count.push_back(1);
            weights.push_back(1.0);
            continue;
        }
        const double f = centre - double(j);
        start.push_back(int(j));
        count.push_back(2);
        weights.push_back(1.0 - f);
        weights.push_back(f);
    }
}

namespace {

// Shares in 1/256 that sum to exactly 256 per destination pixel, so that flat areas stay flat.
void ToShares(const AxisWeights& axis, std::vector<std::uint16_t>& shares) {
    shares.resize(axis.weights.size());
    for (std::size_t i = 0; i < axis.offset.size(); ++i) {
        const int first = axis.offset[i];
        const int n = axis.count[i];
        int sum = 0;
        int largest = first;
        for (int k = first; k < first + n; ++k) {
            shares[k] = std::uint16_t(std::lround(axis.weights[k] * 256.0));
            sum += shares[k];
            if (shares[k] > shares[largest]) {
                largest = k;
            }
        }
        shares[largest] = std::uint16_t(shares[largest] + 256 - sum);
    }
}

// Blends the source rows of one destination row, columns sx0 .. sx1 - 1, into 16-bit lanes
// (each still 0..255), sixteen bytes at a time. kRows fixes the common counts at compile
// time, so their weights stay in registers.
template <int kRows>
void BlendRows(const BgraImage& src, int firstRow, int rows, const std::uint16_t* shares, int sx0,
               int sx1, std::uint16_t* lanes) {
    const int n = kRows > 0 ? kRows : rows;
    const std::size_t length = std::size_t(sx1 - sx0) * 4;
    auto row = [&](int k) {
        return reinterpret_cast<const std::uint8_t*>(src.Row(firstRow + k) + sx0);
    };
    __m128i weights[kRows > 0 ? kRows : 1];
    for (int k = 0; k < kRows; ++k) {
        weights[k] = _mm_set1_epi16(short(shares[k]));
    }
    const __m128i zero = _mm_setzero_si128();
    const __m128i half = _mm_set1_epi16(128);
    std::size_t b = 0;
    for (; b + 16 <= length; b += 16) {
        __m128i low = half;
        __m128i high = half;
        for (int k = 0; k < n; ++k) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row(k) + b));
            const __m128i w = kRows > 0 ? weights[k] : _mm_set1_epi16(short(shares[k]));
            low = _mm_add_epi16(low, _mm_mullo_epi16(_mm_unpacklo_epi8(bytes, zero), w));
            high = _mm_add_epi16(high, _mm_mullo_epi16(_mm_unpackhi_epi8(bytes, zero), w));
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(lanes + b), _mm_srli_epi16(low, 8));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(lanes + b + 8), _mm_srli_epi16(high, 8));
    }
    for (; b < length; ++b) {
        unsigned sum = 128;
        for (int k = 0; k < n; ++k) {
            sum += unsigned(shares[k]) * row(k)[b];
        }
        lanes[b] = std::uint16_t(sum >> 8);
    }
}

// Each destination pixel's column shares, spread to its four lanes, for taps source pixels
// (zero shares past its own count), so that every pixel runs the same branch-free steps.
int SpreadColumnShares(const AxisWeights& x, const std::vector<std::uint16_t>& shares,
                       std::vector<std::uint16_t>& spread) {
    const int widest = *std::max_element(x.count.begin(), x.count.end());
    const int taps = (widest + 1) / 2 * 2;
    spread.assign(x.count.size() * std::size_t(taps) * 4, 0);
    for (std::size_t c = 0; c < x.count.size(); ++c) {
        for (int k = 0; k < x.count[c]; ++k) {
            std::fill_n(&spread[(c * taps + k) * 4], 4, shares[x.offset[c] + k]);
        }
    }
    return taps;
}

// A destination row from blended lanes, two source pixels a step: 255 * 256 still fits a
// 16-bit lane, so the sums never overflow. kTaps fixes the common counts at compile time.
template <int kTaps>
void BlendColumns(const std::uint16_t* lanes, const int* starts, int firstStart,
                  const std::uint16_t* spread, int taps, int width, std::uint32_t* target) {
    const int t = kTaps > 0 ? kTaps : taps;
    // Two halves per pixel, each the weighted sum of every other tap.
    auto halves = [&](int c) {
        const std::uint16_t* pixels = lanes + 4 * std::size_t(starts[c] - firstStart);
        const std::uint16_t* shares = spread + std::size_t(c) * t * 4;
        __m128i sum = _mm_setzero_si128();
        for (int k = 0; k < t; k += 2) {
            const __m128i pair = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels + 4 * k));
            const __m128i w = _mm_loadu_si128(reinterpret_cast<const __m128i*>(shares + 4 * k));
            sum = _mm_add_epi16(sum, _mm_mullo_epi16(pair, w));
        }
        return sum;
    };
    const __m128i half = _mm_set1_epi16(128);
    auto finish = [&](__m128i sums) {
        const __m128i rounded = _mm_srli_epi16(_mm_add_epi16(sums, half), 8);
        return _mm_packus_epi16(rounded, rounded);
    };
    int c = 0;
    for (; c + 1 < width; c += 2) {
        const __m128i a = halves(c);
        const __m128i b = halves(c + 1);
        const __m128i sums = _mm_add_epi16(_mm_unpacklo_epi64(a, b), _mm_unpackhi_epi64(a, b));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(target + c), finish(sums));
    }
    if (c < width) {
        const __m128i a = halves(c);
        target[c] =
            std::uint32_t(_mm_cvtsi128_si32(finish(_mm_add_epi16(a, _mm_srli_si128(a, 8)))));
    }
}

// sums += w * bytes, sixteen bytes a step.
void AddWeighted(float* sums, const std::uint8_t* bytes, std::size_t length, float w) {
    const __m128i zero = _mm_setzero_si128();
    const __m128 weight = _mm_set1_ps(w);
    std::size_t b = 0;
    for (; b + 16 <= length; b += 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + b));
        const __m128i words[2] = {_mm_unpacklo_epi8(chunk, zero), _mm_unpackhi_epi8(chunk, zero)};
        for (int half = 0; half < 2; ++half) {
            const __m128i dwords[2] = {_mm_unpacklo_epi16(words[half], zero),
                                       _mm_unpackhi_epi16(words[half], zero)};
            for (int quarter = 0; quarter < 2; ++quarter) {
                float* at = sums + b + 8 * half + 4 * quarter;
                const __m128 values = _mm_cvtepi32_ps(dwords[quarter]);
                _mm_storeu_ps(at, _mm_add_ps(_mm_loadu_ps(at), _mm_mul_ps(values, weight)));
            }
        }
    }
    for (; b < length; ++b) {
        sums[b] += w * float(bytes[b]);
    }
}

}  // namespace

RegionResampler::RegionResampler(const BgraImage& src, int dstWidth, int dstHeight,
                                 const Region& region, ResampleScratch& scratch)
    : m_src(src), m_scratch(scratch), m_width(region.width) {
    if (region.width <= 0 || region.height <= 0 || src.width <= 0 || src.height <= 0) {
        m_width = 0;
        return;
    }
    AxisWeights& x = scratch.x;
    x.Compute(src.width, dstWidth, region.left, region.width);
    scratch.y.Compute(src.height, dstHeight, region.top, region.height);
    ToShares(x, scratch.xShares);
    ToShares(scratch.y, scratch.yShares);
    m_taps = SpreadColumnShares(x, scratch.xShares, scratch.xSpread);
    // Source columns of the region: both ends only grow from one destination pixel to the next.
    // The lanes run taps pixels past them, zero, for the zero shares to read.
    m_sx0 = x.start.front();
    m_sx1 = x.start.back() + x.count.back();
    scratch.row.assign(std::size_t(m_sx1 - m_sx0 + m_taps) * 4, 0);
}

void RegionResampler::Rows(int first, int count, std::uint32_t* out, std::ptrdiff_t outStride) {
    if (m_width == 0) {
        return;
    }
    const AxisWeights& x = m_scratch.x;
    const AxisWeights& y = m_scratch.y;
    std::uint16_t* lanes = m_scratch.row.data();
    const auto blend = m_taps == 2   ? BlendColumns<2>
                       : m_taps == 4 ? BlendColumns<4>
                                     : BlendColumns<0>;
    for (int r = first; r < first + count; ++r) {
        const int n = y.count[r];
        const auto blendRows = n == 1   ? BlendRows<1>
                               : n == 2 ? BlendRows<2>
                               : n == 3 ? BlendRows<3>
                                        : BlendRows<0>;
        blendRows(m_src, y.start[r], n, &m_scratch.yShares[y.offset[r]], m_sx0, m_sx1, lanes);
        blend(lanes, x.start.data(), m_sx0, m_scratch.xSpread.data(), m_taps, m_width,
              out + (r - first) * outStride);
    }
}

void ResampleRegion(const BgraImage& src, int dstWidth, int dstHeight, const Region& region,
                    std::uint32_t* out, std::ptrdiff_t outStride, ResampleScratch& scratch) {
    RegionResampler(src, dstWidth, dstHeight, region, scratch)
        .Rows(0, region.height, out, outStride);
}

BgraImage Resample(const BgraImage& src, int dstWidth, int dstHeight) {
    BgraImage result(dstWidth, dstHeight);
    ResampleScratch scratch;
    ResampleRegion(src, dstWidth, dstHeight, {0, 0, dstWidth, dstHeight}, result.pixels.data(),
                   dstWidth, scratch);
    return result;
}

AreaDownscaler::AreaDownscaler(int srcWidth, int srcHeight, int dstWidth, int dstHeight)
    : m_sourceWidth(srcWidth), m_sourceHeight(srcHeight), m_result(dstWidth, dstHeight) {
    m_x.Compute(srcWidth, dstWidth, 0, dstWidth);
    m_y.Compute(srcHeight, dstHeight, 0, dstHeight);
    for (auto& sums : m_sums) {
        sums.assign(std::size_t(srcWidth) * 4, 0.0f);
    }
}

void AreaDownscaler::AddRows(const std::uint32_t* rows, int count, std::ptrdiff_t stride) {
    for (int i = 0; i < count && !Done(); ++i) {
        AddRow(rows + i * stride);
    }
}

void AreaDownscaler::AddRow(const std::uint32_t* row) {
    const int y = m_nextSourceRow;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(row);
    const std::size_t length = std::size_t(m_sourceWidth) * 4;
    // A source row feeds at most two destination rows: the one it ends and the next.
    for (int d = m_nextDstRow; d < std::min(m_nextDstRow + 2, m_result.height); ++d) {
        const int first = m_y.start[d];
        if (y < first || y >= first + m_y.count[d]) {
            continue;
        }
        AddWeighted(SumsFor(d).data(), bytes, length,
                    float(m_y.weights[m_y.offset[d] + y - first]));
    }
    ++m_nextSourceRow;
    while (m_nextDstRow < m_result.height &&
           m_y.start[m_nextDstRow] + m_y.count[m_nextDstRow] == m_nextSourceRow) {
        EmitRow(m_nextDstRow, SumsFor(m_nextDstRow));
        ++m_nextDstRow;
    }
}

void AreaDownscaler::EmitRow(int dstRow, std::vector<float>& sums) {
    std::uint32_t* target = m_result.Row(dstRow);
    for (int c = 0; c < m_result.width; ++c) {
        const float* first = sums.data() + std::size_t(m_x.start[c]) * 4;
        const double* w = &m_x.weights[m_x.offset[c]];
        float channel[4] = {};
        for (int k = 0; k < m_x.count[c]; ++k) {
            for (int ch = 0; ch < 4; ++ch) {
                channel[ch] += float(w[k]) * first[4 * k + ch];
            }
        }
        std::uint32_t pixel = 0;
        for (int ch = 0; ch < 4; ++ch) {
            pixel |= std::uint32_t(std::min(255.0f, channel[ch] + 0.5f)) << (8 * ch);
        }
        target[c] = pixel;
    }
    std::fill(sums.begin(), sums.end(), 0.0f);
}

}  // namespace zz
