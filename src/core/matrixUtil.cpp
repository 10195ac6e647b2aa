#include "core/matrixUtil.h"

namespace invns {
long double thres = 1e-14L;
bool IsSingular = false;
}  // namespace invns

namespace normns {
short norm = NORM2;
}

namespace sortns {
short sort = ASC;
}

namespace chrns {
long double thres = 1e-13L;
}
