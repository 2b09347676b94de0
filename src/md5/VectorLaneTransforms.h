// The vector lane transforms, each compiled in a file of its own with the instruction set it needs.
// Only the dispatcher in LaneEngine.cpp calls them, after checking the processor. This header
// stays free of inline code: an inline function compiled with AVX-512 enabled could be the copy
// the linker keeps for the whole program.
#pragma once

#include "md5/LaneEngine.h"

#include <cstddef>
#include <cstdint>

namespace quorvix {

// Eight lanes with AVX2; the contract of TransformLanes.
void TransformLanesAvx2(LaneStates& states, const std::uint8_t* const blocks[],
                        std::size_t blockCount);

// Sixteen lanes with AVX-512 F and VL; the contract of TransformLanes.
void TransformLanesAvx512(LaneStates& states, const std::uint8_t* const blocks[],
                          std::size_t blockCount);

// Thirty-two lanes with AVX-512 F and VL, two groups of sixteen interleaved; the contract of
// TransformLanes.
void TransformLanesAvx512x2(LaneStates& states, const std::uint8_t* const blocks[],
                            std::size_t blockCount);

} // namespace quorvix
