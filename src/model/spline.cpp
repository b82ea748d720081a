#include "model/spline.h"

#include <algorithm>
#include <cmath>

namespace {
using Vec = std::array<double, 5>;

Vec unit(int i) {
    Vec v{};
    v[i] = 1.0;
    return v;
}
Vec axpy(double a, const Vec& x, const Vec& y) { // a * x + y
    Vec r;
    for (int j = 0; j < 5; ++j)
        r[j] = a * x[j] + y[j];
    return r;
}
} // namespace

SplineBasis::SplineBasis(const std::array<double, 5>& x) {
    std::array<double, 4> h;
    for (int i = 0; i < 4; ++i) {
        h[i] = x[i + 1] - x[i];
        if (!(h[i] > 0)) return; // equal or falling times: no spline
    }
    x2_ = x[2];

    // Slopes of the support polygon, scaled by 3, as linear forms in the values.
    std::array<Vec, 4> q;
    for (int i = 0; i < 4; ++i) {
        q[i] = Vec{};
        q[i][i + 1] = 3.0 / h[i];
        q[i][i] = -3.0 / h[i];
    }
    // Natural spline: tridiagonal system for the second-order coefficients.
    std::array<double, 4> l{1, 0, 0, 0}, mu{0, 0, 0, 0};
    std::array<Vec, 4> z{};
    for (int i = 1; i <= 3; ++i) {
        Vec alpha;
        for (int j = 0; j < 5; ++j)
            alpha[j] = q[i][j] - q[i - 1][j];
        l[i] = 2.0 * (x[i + 1] - x[i - 1]) - h[i - 1] * mu[i - 1];
        mu[i] = h[i] / l[i];
        for (int j = 0; j < 5; ++j)
            z[i][j] = (alpha[j] - h[i - 1] * z[i - 1][j]) / l[i];
    }
    const Vec c3 = z[3]; // c(4) = 0
    const Vec c2 = axpy(-mu[2], c3, z[2]);
    const Vec e2 = unit(2), e3 = unit(3);
    for (int j = 0; j < 5; ++j) {
        b_[j] = (e3[j] - e2[j]) / h[2] - h[2] * (c3[j] + 2.0 * c2[j]) / 3.0;
        c_[j] = c2[j];
        d_[j] = (c3[j] - c2[j]) / (3.0 * h[2]);
    }
    valid_ = true;
}

SplineBasis::Weights SplineBasis::weightsAt(double t) const {
    const double u = t - x2_;
    const double u2 = u * u, u3 = u2 * u;
    Weights w;
    for (int j = 0; j < 5; ++j)
        w.w[j] = b_[j] * u + c_[j] * u2 + d_[j] * u3;
    w.w[2] += 1.0;
    return w;
}

quint32 SplineBasis::evaluate(const Weights& w, const std::array<double, 5>& y) {
    double s = 0;
    double lo = y[0], hi = y[0];
    for (int j = 0; j < 5; ++j) {
        s += w.w[j] * y[j];
        lo = std::min(lo, y[j]);
        hi = std::max(hi, y[j]);
    }
    const double r = std::clamp(std::nearbyint(s), lo, hi);
    return static_cast<quint32>(r);
}
