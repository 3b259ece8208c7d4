#include "toolkit/AreaReduce.h"

#include <emmintrin.h>

#include <algorithm>
#include <cstring>

namespace tk {

namespace {

constexpr int kOne = 16384; // weight of a whole destination pixel

bool CpuHasSse2() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("sse2");
}

} // namespace

void AreaReducer::SetSimd(bool on) {
    simd_ = on && CpuHasSse2();
    simdChosen_ = true;
}

// Destination pixel o covers [o * src, (o + 1) * src) and source pixel i covers
// [i * dst, (i + 1) * dst), both in units of 1 / dst source pixel: the overlaps are exact
// integers, and each weight is its overlap's share of the whole, rounded, with the rounding
// left-over given to the largest weight.
void AreaReducer::MakeSpans(int src, int dst, std::vector<Span>& spans, std::vector<int16_t>& w) {
    spans.resize(size_t(dst));
    w.clear();
    for (int o = 0; o < dst; ++o) {
        const long long begin = (long long)o * src, end = (long long)(o + 1) * src;
        const int first = int(begin / dst), last = int((end - 1) / dst);
        Span& span = spans[size_t(o)];
        span.first = first;
        span.count = last - first + 1;
        span.weights = int(w.size());
        int sum = 0, largest = span.weights;
        for (int i = first; i <= last; ++i) {
            const long long lo = std::max<long long>((long long)i * dst, begin);
            const long long hi = std::min<long long>((long long)(i + 1) * dst, end);
            const int weight = int(((hi - lo) * kOne + src / 2) / src);
            w.push_back(int16_t(weight));
            sum += weight;
            if (weight > w[size_t(largest)]) largest = int(w.size()) - 1;
        }
        w[size_t(largest)] = int16_t(w[size_t(largest)] + (kOne - sum));
    }
}

void AreaReducer::MakeColumnPairs() {
    pairFirst_.assign(1, 0);
    pairSource_.clear();
    pairWeights_.clear();
    for (const Span& span : cols_) {
        for (int k = 0; k < span.count; k += 2) {
            int source = span.first + k;
            int16_t w0 = colWeights_[size_t(span.weights + k)];
            int16_t w1 = k + 1 < span.count ? colWeights_[size_t(span.weights + k + 1)] : 0;
            if (source + 1 >= srcWidth_) { // a lone last pixel: read it as the second of a pair
                source = srcWidth_ - 2;
                w1 = w0;
                w0 = 0;
            }
            pairSource_.push_back(source);
            for (int j = 0; j < 4; ++j) {
                pairWeights_.push_back(w0);
                pairWeights_.push_back(w1);
            }
        }
        pairFirst_.push_back(int(pairSource_.size()));
    }
}

bool AreaReducer::Start(int srcWidth, int srcHeight, uint32_t* dst, int dstWidth, int dstHeight,
                        size_t dstStride) {
    if (srcWidth <= 0 || srcHeight <= 0 || dstWidth <= 0 || dstHeight <= 0 || !dst ||
        dstWidth > srcWidth || dstHeight > srcHeight || dstStride < size_t(dstWidth))
        return false;
    srcWidth_ = srcWidth;
    srcHeight_ = srcHeight;
    dstWidth_ = dstWidth;
    dstHeight_ = dstHeight;
    dst_ = dst;
    dstStride_ = dstStride;
    srcY_ = 0;
    nextOut_ = 0;
    MakeSpans(srcWidth, dstWidth, cols_, colWeights_);
    MakeSpans(srcHeight, dstHeight, rows_, rowWeights_);
    if (srcWidth >= 2) MakeColumnPairs();
    across_.resize(size_t(dstWidth) * 4);
    for (auto& acc : acc_)
        acc.resize(size_t(dstWidth) * 4);
    accRow_[0] = accRow_[1] = -1;
    if (!simdChosen_) simd_ = CpuHasSse2();
    return true;
}

void AreaReducer::ReduceRow(const uint32_t* row) {
    for (int x = 0; x < dstWidth_; ++x) {
        const Span& span = cols_[size_t(x)];
        const int16_t* w = &colWeights_[size_t(span.weights)];
        uint32_t b = 0, g = 0, r = 0;
        for (int k = 0; k < span.count; ++k) {
            const uint32_t p = row[span.first + k];
            b += (p & 0xFF) * uint32_t(w[k]);
            g += ((p >> 8) & 0xFF) * uint32_t(w[k]);
            r += ((p >> 16) & 0xFF) * uint32_t(w[k]);
        }
        uint16_t* out = &across_[size_t(x) * 4];
        out[0] = uint16_t((b + 128) >> 8);
        out[1] = uint16_t((g + 128) >> 8);
        out[2] = uint16_t((r + 128) >> 8);
        out[3] = 0;
    }
}

__attribute__((target("sse2"))) void AreaReducer::ReduceRowSimd(const uint32_t* row) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i round = _mm_set1_epi32(128);
    const __m128i noX = _mm_set_epi32(0, -1, -1, -1);
    const int16_t* weights = pairWeights_.data();
    for (int x = 0; x < dstWidth_; ++x) {
        __m128i sum = zero;
        for (int p = pairFirst_[size_t(x)], end = pairFirst_[size_t(x) + 1]; p < end; ++p) {
            // b0 g0 r0 x0 b1 g1 r1 x1 -> b0 b1 g0 g1 r0 r1 x0 x1, in 16 bits, times w0 w1.
            __m128i v =
                _mm_loadl_epi64(reinterpret_cast<const __m128i*>(row + pairSource_[size_t(p)]));
            v = _mm_unpacklo_epi8(_mm_unpacklo_epi8(v, _mm_srli_si128(v, 4)), zero);
            const __m128i w = _mm_loadu_si128(reinterpret_cast<const __m128i*>(weights + 8 * p));
            sum = _mm_add_epi32(sum, _mm_madd_epi16(v, w));
        }
        sum = _mm_and_si128(_mm_srli_epi32(_mm_add_epi32(sum, round), 8), noX);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(&across_[size_t(x) * 4]),
                         _mm_packs_epi32(sum, sum));
    }
}

void AreaReducer::AddRow(uint32_t* acc, int weight) {
    const size_t n = across_.size();
    for (size_t i = 0; i < n; ++i)
        acc[i] += uint32_t(across_[i]) * uint32_t(weight);
}

__attribute__((target("sse2"))) void AreaReducer::AddRowSimd(uint32_t* acc, int weight) {
    const size_t n = across_.size();
    const __m128i w = _mm_set1_epi16(int16_t(weight));
    size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(&across_[i]));
        const __m128i lo = _mm_mullo_epi16(a, w), hi = _mm_mulhi_epu16(a, w);
        __m128i* out = reinterpret_cast<__m128i*>(acc + i);
        _mm_storeu_si128(out, _mm_add_epi32(_mm_loadu_si128(out), _mm_unpacklo_epi16(lo, hi)));
        _mm_storeu_si128(out + 1,
                         _mm_add_epi32(_mm_loadu_si128(out + 1), _mm_unpackhi_epi16(lo, hi)));
    }
    for (; i < n; ++i)
        acc[i] += uint32_t(across_[i]) * uint32_t(weight);
}

// The two passes each carry 8 bits of the 16384 scale (across: 14 - 8 = 6 bits of fraction
// kept; down: 14 more), so a pixel comes out of (acc + half) >> 20.
void AreaReducer::EmitRow(const uint32_t* acc, uint32_t* out, int count) {
    for (int x = 0; x < count; ++x, acc += 4) {
        const uint32_t b = (acc[0] + (1u << 19)) >> 20;
        const uint32_t g = (acc[1] + (1u << 19)) >> 20;
        const uint32_t r = (acc[2] + (1u << 19)) >> 20;
        out[x] = (std::min(r, 255u) << 16) | (std::min(g, 255u) << 8) | std::min(b, 255u);
    }
}

__attribute__((target("sse2"))) void AreaReducer::EmitRowSimd(const uint32_t* acc, uint32_t* out) {
    const __m128i round = _mm_set1_epi32(1 << 19);
    const __m128i noX = _mm_set1_epi32(0x00FFFFFF);
    int x = 0;
    for (; x + 4 <= dstWidth_; x += 4, acc += 16) {
        __m128i p[4];
        for (int i = 0; i < 4; ++i)
            p[i] = _mm_srli_epi32(
                _mm_add_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(acc + 4 * i)),
                              round),
                20);
        const __m128i packed =
            _mm_packus_epi16(_mm_packs_epi32(p[0], p[1]), _mm_packs_epi32(p[2], p[3]));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x), _mm_and_si128(packed, noX));
    }
    EmitRow(acc, out + x, dstWidth_ - x);
}

void AreaReducer::Push(const uint32_t* row) {
    if (srcY_ >= srcHeight_) return;
    const int y = srcY_++;
    const bool simd = simd_ && srcWidth_ >= 2;
    if (simd)
        ReduceRowSimd(row);
    else
        ReduceRow(row);
    // A source row falls into at most two destination rows, since none is enlarged.
    for (int o = nextOut_; o < dstHeight_ && rows_[size_t(o)].first <= y; ++o) {
        const Span& span = rows_[size_t(o)];
        const int slot = o & 1;
        std::vector<uint32_t>& acc = acc_[slot];
        if (accRow_[slot] != o) {
            std::fill(acc.begin(), acc.end(), 0u);
            accRow_[slot] = o;
        }
        const int weight = rowWeights_[size_t(span.weights + (y - span.first))];
        if (weight > 0) {
            if (simd)
                AddRowSimd(acc.data(), weight);
            else
                AddRow(acc.data(), weight);
        }
        if (y == span.first + span.count - 1) {
            uint32_t* out = dst_ + size_t(o) * dstStride_;
            if (simd)
                EmitRowSimd(acc.data(), out);
            else
                EmitRow(acc.data(), out, dstWidth_);
            nextOut_ = o + 1;
        }
    }
}

} // namespace tk
