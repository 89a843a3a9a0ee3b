#include "tracked_exception.h"

namespace orvik::test {
int TrackedException::s_alive = 0;
}  // namespace orvik::test
