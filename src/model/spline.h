#pragma once

#include <QtGlobal>

#include <array>

// The natural cubic spline through five support points, evaluated on the interval from
// the third to the fourth point. The times fix the spline's shape, so everything that
// depends on them alone is worked out once and shared by every channel of a gap: a value
// is then a weighted sum of the five support values.
class SplineBasis {
public:
    // Times of the support points; they must rise strictly, else valid() is false.
    explicit SplineBasis(const std::array<double, 5>& x);

    bool valid() const { return valid_; }

    struct Weights {
        std::array<double, 5> w;
    };
    Weights weightsAt(double t) const;

    // The rounded value (halves to even), limited to the range of the support values.
    static quint32 evaluate(const Weights& w, const std::array<double, 5>& y);

private:
    bool valid_ = false;
    double x2_ = 0;
    // Coefficients of b, c and d on the evaluated interval, per support value.
    std::array<double, 5> b_{}, c_{}, d_{};
};
