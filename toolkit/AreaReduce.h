#pragma once
// Reduces a picture by averaging areas: every destination pixel is the mean of the source
// area it covers, partly covered source pixels counting by the fraction covered. This is
// what keeps a photo of fine detail (foliage, fabric, text) from shimmering when it shrinks;
// nearest sampling drops most source pixels and makes moiré.
//
// The source comes row by row, so a decoder can feed it while it decodes and no full-size
// copy of the picture is ever held. Its tables and row buffers stay from one picture to the
// next.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tk {

class AreaReducer {
  public:
    // Prepares to reduce srcWidth x srcHeight pixels to dstWidth x dstHeight, each no larger
    // than the source's, written into dst (rows of dstStride pixels). False for sizes that
    // are empty or would enlarge.
    bool Start(int srcWidth, int srcHeight, uint32_t* dst, int dstWidth, int dstHeight,
               size_t dstStride);

    // The next source row, from the top: srcWidth pixels B, G, R, X. A destination row is
    // written as soon as its last source row has come. The fourth byte comes out 0.
    void Push(const uint32_t* row);

    // Rows pushed so far; the reduction is complete when it equals the source height.
    int RowsPushed() const { return srcY_; }

    // SSE2 when the processor has it; tests switch it off to compare with the plain code.
    void SetSimd(bool on);

  private:
    // One destination column or row: its first source index and the weights, in 1/16384,
    // of that source pixel and the next ones. The weights of one destination pixel add up
    // to exactly 16384, so a uniform area keeps its exact value.
    struct Span {
        int first;
        int count;
        int weights; // index into the weight table
    };
    static void MakeSpans(int src, int dst, std::vector<Span>& spans, std::vector<int16_t>& w);
    void MakeColumnPairs();
    void ReduceRow(const uint32_t* row);
    void ReduceRowSimd(const uint32_t* row);
    void AddRow(uint32_t* acc, int weight);
    void AddRowSimd(uint32_t* acc, int weight);
    void EmitRow(const uint32_t* acc, uint32_t* out, int count);
    void EmitRowSimd(const uint32_t* acc, uint32_t* out);

    int srcWidth_ = 0, srcHeight_ = 0, dstWidth_ = 0, dstHeight_ = 0;
    uint32_t* dst_ = nullptr;
    size_t dstStride_ = 0;
    int srcY_ = 0;
    int nextOut_ = 0; // first destination row not yet written
    bool simd_ = false;
    bool simdChosen_ = false;

    std::vector<Span> cols_, rows_;
    std::vector<int16_t> colWeights_, rowWeights_;
    // The columns again for SSE2: pairs of source pixels with their weights laid out as
    // the multiply-add wants them (w0 w1 w0 w1 w0 w1 w0 w1).
    std::vector<int> pairFirst_;  // per destination column: index into pairs
    std::vector<int> pairSource_; // per pair: first source pixel
    std::vector<int16_t> pairWeights_;
    // The current row reduced across (4 channels of 16 bits, value x 64), and the
    // accumulators of the two destination rows a source row can fall into.
    std::vector<uint16_t> across_;
    std::vector<uint32_t> acc_[2];
    int accRow_[2] = {-1, -1};
};

} // namespace tk
