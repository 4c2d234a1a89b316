#pragma once

#include <cstddef>

namespace Ripplejet {

/// What the game does with the memory a finished race leaves behind.
///
/// A new race frees a whole course (its geometry, the driver's copies of
/// its buffers and textures) and builds the next one. Left to its default,
/// the C library puts big blocks freed once back into the shared heap, and
/// the next race's blocks never fit the holes exactly: resident memory rose
/// by megabytes with every race, though the memory in use did not. So big blocks are mapped on their own and handed
/// back to the system when freed, and after a change the heap's free pages
/// are handed back too.
class FreedMemory {
public:
    /// Blocks from this size up get a mapping of their own. The driver's
    /// blocks of a frame are smaller (64 KiB); about one block a second is
    /// this big.
    static constexpr std::size_t OWN_MAPPING_FROM = 128 * 1024;
    /// The heap's free top goes back to the system once it is this big,
    /// down to the second size. The driver frees and allocates blocks at
    /// the top every frame: with the library's 128 KiB and no margin the
    /// heap shrank and grew some 37 times a frame.
    static constexpr std::size_t TOP_TRIMMED_FROM = 2 * 1024 * 1024;
    static constexpr std::size_t TOP_KEPT = 1024 * 1024;

    /// Sets the policy above; once, before anything big is allocated.
    static void mapLargeBlocksApart();

    /// Hands the heap's free pages back to the system. It walks the whole
    /// heap (a few milliseconds), so it follows changes, never frames.
    static void giveBack();
};

} // namespace Ripplejet
