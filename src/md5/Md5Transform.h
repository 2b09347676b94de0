// The scalar block transform, shared by the digest functions and the lane engines.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quorvix {

// Runs the MD5 compression over count consecutive 64-byte blocks at blocks (which may be null
// when count is 0), chaining from state (A, B, C, D) and leaving the result there. Cannot fail.
void TransformBlocks(std::uint32_t state[4], const std::uint8_t* blocks, std::size_t count);

} // namespace quorvix
