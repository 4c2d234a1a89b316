#include "app/FreedMemory.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace Ripplejet {

void FreedMemory::mapLargeBlocksApart()
{
#if defined(__GLIBC__)
    // Fixed thresholds: by default the library raises both each time a
    // mapped block is freed, and big blocks end up in the shared heap.
    mallopt(M_MMAP_THRESHOLD, static_cast<int>(OWN_MAPPING_FROM));
    mallopt(M_TRIM_THRESHOLD, static_cast<int>(TOP_TRIMMED_FROM));
    mallopt(M_TOP_PAD, static_cast<int>(TOP_KEPT));
#endif
}

void FreedMemory::giveBack()
{
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

} // namespace Ripplejet
