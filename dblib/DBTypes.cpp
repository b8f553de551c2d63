#include "dblib/DBTypes.h"

#include <algorithm>

bool CRect::IntersectRect(const CRect& a, const CRect& b) {
    // a or b may be this rectangle itself: read both before writing.
    const CRect r(std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                  std::min(a.bottom, b.bottom));
    if (r.right <= r.left || r.bottom <= r.top) {
        *this = CRect();
        return false;
    }
    *this = r;
    return true;
}
