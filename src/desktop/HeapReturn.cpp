#include "desktop/HeapReturn.h"

#include <QtGlobal>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace desktop {

void keepLargeBlocksOffTheHeap() {
#if defined(__GLIBC__)
    if (qEnvironmentVariableIsSet("MALLOC_MMAP_THRESHOLD_"))
        return;
    mallopt(M_MMAP_THRESHOLD, kOwnMappingFromBytes);
#endif
}

} // namespace desktop
