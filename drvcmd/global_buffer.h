// The layer's buffers: fixed, zero-filled global memory blocks kept locked for
// the whole run.
#pragma once

#include <cstdint>
#include <span>

#include "platform/kernel.h"

namespace drvcmd {

// Allocates and locks one block. On failure the view stays empty; a block that
// was allocated but could not be locked keeps its handle so that
// FreeLockedBuffer releases it.
bool AllocateLockedBuffer(platform::Kernel& kernel, std::size_t size, platform::Handle& handle,
                          std::span<std::uint8_t>& view);

// Unlocks and frees the block when it exists, and clears handle and view.
void FreeLockedBuffer(platform::Kernel& kernel, platform::Handle& handle,
                      std::span<std::uint8_t>& view);

}  // namespace drvcmd
