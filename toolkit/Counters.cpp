#include "toolkit/Counters.h"

namespace tk {

ResourceCounts& Counts() {
    static ResourceCounts counts;
    return counts;
}

} // namespace tk
