#pragma once
// Good-quality scaling of 32-bit pixels: each destination pixel is the average of the source
// area it covers when shrinking (no dropped rows or columns, so no jaggies), and a linear
// blend of its two nearest source pixels when enlarging.

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "view/bgra_image.h"

namespace zz {

// Which source pixels make each destination pixel along one axis, and their shares.
struct AxisWeights {
    std::vector<int> start;       // first source index, per destination index
    std::vector<int> count;       // number of source pixels, per destination index
    std::vector<int> offset;      // into weights, per destination index
    std::vector<double> weights;  // shares, summing to 1 per destination index

    // For the destination indices first .. first + count - 1 of a srcLength -> dstLength
    // scaling. Reuses the vectors' memory.
    void Compute(int srcLength, int dstLength, int first, int count);
};

// Part of a destination picture: left, top, width, height.
struct Region {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// Memory that the region scaler reuses from call to call, so that drawing at an unchanged
// size allocates nothing.
struct ResampleScratch {
    AxisWeights x;
    AxisWeights y;
    std::vector<std::uint16_t> xShares;  // weights in 1/256, per tap
    std::vector<std::uint16_t> yShares;
    std::vector<std::uint16_t> xSpread;  // column shares laid out for the vector unit
    std::vector<std::uint16_t> row;      // one row of blended source rows, four lanes a pixel
};

// Scales src to dstWidth x dstHeight, the region of that picture only, a band of rows at a
// time: a caller can use each band while it is still in the processor's cache. Holds on to
// src and scratch. 8-bit fixed point, fast enough to run on every animation tick, and meant
// for shrinking by less than about 4 (or enlarging): beyond that the shares lose precision,
// so larger reductions go through AreaDownscaler or halvings.
class RegionResampler {
public:
    RegionResampler(const BgraImage& src, int dstWidth, int dstHeight, const Region& region,
                    ResampleScratch& scratch);

    // Rows first .. first + count - 1 of the region (0 is its top row) into out, rows outStride
    // pixels apart.
    void Rows(int first, int count, std::uint32_t* out, std::ptrdiff_t outStride);

private:
    const BgraImage& m_src;
    ResampleScratch& m_scratch;
    int m_width;
    int m_taps = 0;
    int m_sx0 = 0;
    int m_sx1 = 0;
};

// The whole region at once, into out, rows outStride pixels apart.
void ResampleRegion(const BgraImage& src, int dstWidth, int dstHeight, const Region& region,
                    std::uint32_t* out, std::ptrdiff_t outStride, ResampleScratch& scratch);

// The whole picture scaled to dstWidth x dstHeight (both at least 1).
BgraImage Resample(const BgraImage& src, int dstWidth, int dstHeight);

// Area-averaging reduction of a picture that arrives row by row from a decoder, holding two
// rows of sums besides its result, so a large photo is never whole in memory.
class AreaDownscaler {
public:
    // 1 <= dstWidth <= srcWidth and 1 <= dstHeight <= srcHeight.
    AreaDownscaler(int srcWidth, int srcHeight, int dstWidth, int dstHeight);

    // The next source rows, top to bottom; rows are stride pixels apart.
    void AddRows(const std::uint32_t* rows, int count, std::ptrdiff_t stride);

    // True once every source row has arrived.
    bool Done() const { return m_nextSourceRow == m_sourceHeight; }

    // The reduced picture; complete once Done().
    BgraImage TakeResult() { return std::move(m_result); }

private:
    void AddRow(const std::uint32_t* row);
    void EmitRow(int dstRow, std::vector<float>& sums);
    std::vector<float>& SumsFor(int dstRow) { return m_sums[dstRow & 1]; }

    int m_sourceWidth;
    int m_sourceHeight;
    AxisWeights m_x;
    AxisWeights m_y;
    std::vector<float> m_sums[2];  // running sums of the two destination rows a source row feeds
    int m_nextSourceRow = 0;
    int m_nextDstRow = 0;
    BgraImage m_result;
};

}  // namespace zz
