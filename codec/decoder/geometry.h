#pragma once
// Points and the plane projective transform that maps a symbol's module grid
// onto the picture.
#include <cmath>
#include <optional>
#include <vector>

namespace kodaro::codec {

struct PointF {
    double x = 0;
    double y = 0;
};

inline double Distance(PointF a, PointF b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

// z component of (b - a) x (c - a); positive when a -> b -> c turns clockwise
// on screen (y grows downwards).
inline double Cross(PointF a, PointF b, PointF c) {
    return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}

// Solves the n linear equations in the rows of `m` (n rows of n + 1 numbers,
// the right-hand side last) by Gauss-Jordan elimination; the solution
// replaces the last column. False when the equations are singular.
bool SolveLinearSystem(double* m, int n);

class PerspectiveTransform {
public:
    // The transform taking the four source points onto the four destination
    // points, in order.
    static PerspectiveTransform QuadToQuad(const PointF src[4], const PointF dst[4]);

    // The least-squares transform taking each source point onto its
    // destination point (at least four pairs, not all on one line);
    // nothing when the points do not determine one.
    static std::optional<PerspectiveTransform> Fit(const std::vector<PointF>& src,
                                                   const std::vector<PointF>& dst);

    PointF Map(double x, double y) const {
        const double w = a13 * x + a23 * y + a33;
        return {(a11 * x + a21 * y + a31) / w, (a12 * x + a22 * y + a32) / w};
    }
    bool IsValid() const;
    // The transform back from the picture (up to a scale, which a
    // projective mapping ignores).
    PerspectiveTransform Inverse() const { return Adjoint(); }

private:
    static PerspectiveTransform SquareToQuad(const PointF q[4]);
    PerspectiveTransform Adjoint() const;
    PerspectiveTransform Times(const PerspectiveTransform& o) const;

    double a11 = 1, a12 = 0, a13 = 0;
    double a21 = 0, a22 = 1, a23 = 0;
    double a31 = 0, a32 = 0, a33 = 1;
};

} // namespace kodaro::codec
