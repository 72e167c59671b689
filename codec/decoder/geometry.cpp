#include "codec/decoder/geometry.h"

namespace kodaro::codec {

// The unit square (0,0) (1,0) (1,1) (0,1) onto the quadrilateral q.
PerspectiveTransform PerspectiveTransform::SquareToQuad(const PointF q[4]) {
    PerspectiveTransform t;
    const double dx3 = q[0].x - q[1].x + q[2].x - q[3].x;
    const double dy3 = q[0].y - q[1].y + q[2].y - q[3].y;
    if (dx3 == 0 && dy3 == 0) {
        t.a11 = q[1].x - q[0].x;
        t.a21 = q[2].x - q[1].x;
        t.a31 = q[0].x;
        t.a12 = q[1].y - q[0].y;
        t.a22 = q[2].y - q[1].y;
        t.a32 = q[0].y;
        t.a13 = 0;
        t.a23 = 0;
        t.a33 = 1;
        return t;
    }
    const double dx1 = q[1].x - q[2].x;
    const double dx2 = q[3].x - q[2].x;
    const double dy1 = q[1].y - q[2].y;
    const double dy2 = q[3].y - q[2].y;
    const double den = dx1 * dy2 - dx2 * dy1;
    t.a13 = (dx3 * dy2 - dx2 * dy3) / den;
    t.a23 = (dx1 * dy3 - dx3 * dy1) / den;
    t.a11 = q[1].x - q[0].x + t.a13 * q[1].x;
    t.a21 = q[3].x - q[0].x + t.a23 * q[3].x;
    t.a31 = q[0].x;
    t.a12 = q[1].y - q[0].y + t.a13 * q[1].y;
    t.a22 = q[3].y - q[0].y + t.a23 * q[3].y;
    t.a32 = q[0].y;
    t.a33 = 1;
    return t;
}

PerspectiveTransform PerspectiveTransform::Adjoint() const {
    PerspectiveTransform t;
    t.a11 = a22 * a33 - a23 * a32;
    t.a21 = a23 * a31 - a21 * a33;
    t.a31 = a21 * a32 - a22 * a31;
    t.a12 = a13 * a32 - a12 * a33;
    t.a22 = a11 * a33 - a13 * a31;
    t.a32 = a12 * a31 - a11 * a32;
    t.a13 = a12 * a23 - a13 * a22;
    t.a23 = a13 * a21 - a11 * a23;
    t.a33 = a11 * a22 - a12 * a21;
    return t;
}

PerspectiveTransform PerspectiveTransform::Times(const PerspectiveTransform& o) const {
    PerspectiveTransform t;
    t.a11 = a11 * o.a11 + a21 * o.a12 + a31 * o.a13;
    t.a21 = a11 * o.a21 + a21 * o.a22 + a31 * o.a23;
    t.a31 = a11 * o.a31 + a21 * o.a32 + a31 * o.a33;
    t.a12 = a12 * o.a11 + a22 * o.a12 + a32 * o.a13;
    t.a22 = a12 * o.a21 + a22 * o.a22 + a32 * o.a23;
    t.a32 = a12 * o.a31 + a22 * o.a32 + a32 * o.a33;
    t.a13 = a13 * o.a11 + a23 * o.a12 + a33 * o.a13;
    t.a23 = a13 * o.a21 + a23 * o.a22 + a33 * o.a23;
    t.a33 = a13 * o.a31 + a23 * o.a32 + a33 * o.a33;
    return t;
}

PerspectiveTransform PerspectiveTransform::QuadToQuad(const PointF src[4], const PointF dst[4]) {
    const PerspectiveTransform quadToSquare = SquareToQuad(src).Adjoint();
    return SquareToQuad(dst).Times(quadToSquare);
}

bool PerspectiveTransform::IsValid() const {
    const double v[9] = {a11, a12, a13, a21, a22, a23, a31, a32, a33};
    for (double d : v)
        if (!std::isfinite(d))
            return false;
    return true;
}

} // namespace kodaro::codec
