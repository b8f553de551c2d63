// Small value types of the data layer.
#pragma once

#include <cstdint>

// Integer point of a screen layout.
class CPoint {
public:
    CPoint() = default;
    CPoint(int32_t px, int32_t py) : x(px), y(py) {}
    bool operator==(const CPoint& o) const { return x == o.x && y == o.y; }

    int32_t x = 0;
    int32_t y = 0;
};

// Integer rectangle covering left <= x < right, top <= y < bottom.
class CRect {
public:
    CRect() = default;
    CRect(int32_t l, int32_t t, int32_t r, int32_t b) : left(l), top(t), right(r), bottom(b) {}

    // Sets this to the intersection of a and b; an empty one becomes all zero and gives false.
    bool IntersectRect(const CRect& a, const CRect& b);
    bool operator==(const CRect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }

    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};
