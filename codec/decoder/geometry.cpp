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

std::optional<PerspectiveTransform> PerspectiveTransform::Fit(const std::vector<PointF>& src,
                                                              const std::vector<PointF>& dst) {
    const size_t n = src.size();
    if (n < 4 || dst.size() != n)
        return std::nullopt;
    // Both point sets are centred and scaled to unit size first, which keeps
    // the normal equations well conditioned.
    auto normaliser = [n](const std::vector<PointF>& pts, double* cx, double* cy, double* scale) {
        *cx = 0;
        *cy = 0;
        for (const auto& p : pts) {
            *cx += p.x;
            *cy += p.y;
        }
        *cx /= static_cast<double>(n);
        *cy /= static_cast<double>(n);
        double spread = 0;
        for (const auto& p : pts)
            spread += std::hypot(p.x - *cx, p.y - *cy);
        *scale = spread > 0 ? static_cast<double>(n) / spread : 0;
    };
    double scx, scy, ss, dcx, dcy, ds;
    normaliser(src, &scx, &scy, &ss);
    normaliser(dst, &dcx, &dcy, &ds);
    if (ss == 0 || ds == 0)
        return std::nullopt;

    // h0..h7 of x' = (h0 x + h1 y + h2) / (h6 x + h7 y + 1), y' likewise with h3..h5.
    double a[8][9] = {};
    for (size_t i = 0; i < n; ++i) {
        const double x = (src[i].x - scx) * ss;
        const double y = (src[i].y - scy) * ss;
        const double u = (dst[i].x - dcx) * ds;
        const double v = (dst[i].y - dcy) * ds;
        const double rows[2][9] = {{x, y, 1, 0, 0, 0, -x * u, -y * u, u},
                                   {0, 0, 0, x, y, 1, -x * v, -y * v, v}};
        for (const auto& r : rows)
            for (int j = 0; j < 8; ++j)
                for (int k = 0; k < 9; ++k)
                    a[j][k] += r[j] * r[k];
    }
    if (!SolveLinearSystem(&a[0][0], 8))
        return std::nullopt;
    double h[8];
    for (int i = 0; i < 8; ++i)
        h[i] = a[i][8];

    // Undo the normalisations: T = Dst^-1 * H * Src.
    PerspectiveTransform normalised;
    normalised.a11 = h[0];
    normalised.a21 = h[1];
    normalised.a31 = h[2];
    normalised.a12 = h[3];
    normalised.a22 = h[4];
    normalised.a32 = h[5];
    normalised.a13 = h[6];
    normalised.a23 = h[7];
    normalised.a33 = 1;
    PerspectiveTransform source;
    source.a11 = ss;
    source.a22 = ss;
    source.a31 = -scx * ss;
    source.a32 = -scy * ss;
    PerspectiveTransform target;
    target.a11 = 1 / ds;
    target.a22 = 1 / ds;
    target.a31 = dcx;
    target.a32 = dcy;
    const PerspectiveTransform result = target.Times(normalised.Times(source));
    if (!result.IsValid())
        return std::nullopt;
    return result;
}

bool SolveLinearSystem(double* m, int n) {
    auto at = [&](int r, int c) -> double& { return m[r * (n + 1) + c]; };
    for (int col = 0; col < n; ++col) {
        int pivot = col;
        for (int r = col + 1; r < n; ++r)
            if (std::abs(at(r, col)) > std::abs(at(pivot, col)))
                pivot = r;
        if (std::abs(at(pivot, col)) < 1e-12)
            return false;
        for (int k = 0; k <= n; ++k)
            std::swap(at(col, k), at(pivot, k));
        for (int r = 0; r < n; ++r) {
            if (r == col)
                continue;
            const double f = at(r, col) / at(col, col);
            for (int k = col; k <= n; ++k)
                at(r, k) -= f * at(col, k);
        }
    }
    for (int r = 0; r < n; ++r)
        at(r, n) /= at(r, r);
    return true;
}

bool PerspectiveTransform::IsValid() const {
    const double v[9] = {a11, a12, a13, a21, a22, a23, a31, a32, a33};
    for (double d : v)
        if (!std::isfinite(d))
            return false;
    return true;
}

} // namespace kodaro::codec
