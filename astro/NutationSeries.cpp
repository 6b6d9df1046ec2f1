#include "astro/NutationSeries.h"

#include "astro/AstroConstants.h"
#include "astro/Nutation1980Table.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <map>
#include <vector>

namespace {

using Multiples = std::array<int, 5>;

struct SinCos {
    double s, c;
};

// One step of the recurrence: angle = angles[a] + angles[b] (or minus).
struct Step {
    bool difference;
    int a, b;
};

// One coefficient of a compressed list and the angle whose sine or cosine it multiplies.
struct Coefficient {
    double value;
    int angle;
};

// The series rearranged for fast evaluation: every argument of the table is reached from the
// five fundamental arguments by sums and differences, each one step of the addition formulas;
// the coefficients are kept in four lists without zeros, each summed from its smallest term.
class CompressedSeries {
public:
    CompressedSeries();
    void evaluate(double t, double* dpsi, double* deps) const;

private:
    int ensure(const Multiples& v);
    int find(const Multiples& v) const;
    int append(const Multiples& v, Step step);

    std::map<Multiples, int> index_;
    std::vector<Step> steps_;  // steps_[i] makes angle i + 5
    std::vector<Coefficient> psi_, psiRate_, eps_, epsRate_;
};

Multiples Negated(Multiples v) {
    for (int& x : v) x = -x;
    return v;
}

Multiples Sum(const Multiples& a, const Multiples& b, int sign) {
    Multiples v;
    for (int i = 0; i < 5; ++i) v[i] = a[i] + sign * b[i];
    return v;
}

// A combination and its negation share a cosine and differ in the sign of the sine: only the
// one whose first non-zero multiplier is positive is kept.
bool IsCanonical(const Multiples& v) {
    for (int x : v) if (x != 0) return x > 0;
    return false;
}

int Weight(const Multiples& v) {
    int w = 0;
    for (int x : v) w += std::abs(x);
    return w;
}

CompressedSeries::CompressedSeries() {
    for (int i = 0; i < 5; ++i) {
        Multiples basis{};
        basis[i] = 1;
        index_[basis] = i;
    }
    std::vector<int> order(kNutationTermCount);
    for (int i = 0; i < kNutationTermCount; ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [](int x, int y) {
        const auto& mx = kNutation1980[x].multiple;
        const auto& my = kNutation1980[y].multiple;
        return Weight({mx[0], mx[1], mx[2], mx[3], mx[4]}) <
               Weight({my[0], my[1], my[2], my[3], my[4]});
    });
    for (int row : order) {
        const NutationTerm& term = kNutation1980[row];
        Multiples v{term.multiple[0], term.multiple[1], term.multiple[2], term.multiple[3],
                    term.multiple[4]};
        const double sineSign = IsCanonical(v) ? 1.0 : -1.0;
        if (!IsCanonical(v)) v = Negated(v);
        const int angle = ensure(v);
        if (term.psi != 0) psi_.push_back({sineSign * term.psi, angle});
        if (term.psiRate != 0) psiRate_.push_back({sineSign * term.psiRate, angle});
        if (term.eps != 0) eps_.push_back({term.eps, angle});
        if (term.epsRate != 0) epsRate_.push_back({term.epsRate, angle});
    }
    for (auto* list : {&psi_, &psiRate_, &eps_, &epsRate_}) {
        std::stable_sort(list->begin(), list->end(), [](const Coefficient& x, const Coefficient& y) {
            return std::fabs(x.value) < std::fabs(y.value);
        });
    }
}

int CompressedSeries::find(const Multiples& v) const {
    auto it = index_.find(v);
    return it == index_.end() ? -1 : it->second;
}

int CompressedSeries::append(const Multiples& v, Step step) {
    const int angle = 5 + static_cast<int>(steps_.size());
    steps_.push_back(step);
    index_[v] = angle;
    return angle;
}

// The index of angle v (canonical), adding the steps that make it from known angles.
int CompressedSeries::ensure(const Multiples& v) {
    if (int known = find(v); known >= 0) return known;
    for (const auto& [a, ia] : std::map<Multiples, int>(index_)) {
        const Multiples rest = Sum(v, a, -1);  // v = a + rest, or a - (-rest)
        if (int ib = find(rest); ib >= 0) return append(v, {false, ia, ib});
        if (int ib = find(Negated(rest)); ib >= 0) return append(v, {true, ia, ib});
        if (int ib = find(Sum(v, a, +1)); ib >= 0) return append(v, {true, ib, ia});
    }
    // No pair makes v yet: step one fundamental argument towards it first.
    int j = 0;
    while (v[j] == 0) ++j;
    Multiples basis{};
    basis[j] = 1;
    Multiples smaller = Sum(v, basis, -1);
    ensure(IsCanonical(smaller) ? smaller : Negated(smaller));
    return ensure(v);
}

double Sum(const std::vector<Coefficient>& list, const std::vector<SinCos>& angles, bool sine) {
    double total = 0;
    for (const Coefficient& c : list) total += c.value * (sine ? angles[c.angle].s : angles[c.angle].c);
    return total;
}

void CompressedSeries::evaluate(double t, double* dpsi, double* deps) const {
    double args[5];
    FundamentalArgs(t, args);
    std::vector<SinCos> angles(5 + steps_.size());
    for (int i = 0; i < 5; ++i) angles[i] = {std::sin(args[i]), std::cos(args[i])};
    for (std::size_t i = 0; i < steps_.size(); ++i) {
        const SinCos& a = angles[steps_[i].a];
        const SinCos& b = angles[steps_[i].b];
        angles[5 + i] = steps_[i].difference ? SinCos{a.s * b.c - a.c * b.s, a.c * b.c + a.s * b.s}
                                             : SinCos{a.s * b.c + a.c * b.s, a.c * b.c - a.s * b.s};
    }
    *dpsi = 0.0001 * (Sum(psi_, angles, true) + t * Sum(psiRate_, angles, true));
    *deps = 0.0001 * (Sum(eps_, angles, false) + t * Sum(epsRate_, angles, false));
}

// Polynomial coefficients of the fundamental arguments: radians, radians per century, ...
constexpr double kArgumentPolynomials[5][4] = {
    {2.355548393543940744, 8328.691422883895939, 0.0001517951635553957, 3.1028075591010306e-7},
    {6.240035939326023, 628.3019560241842, -2.7973749400020225e-6, -5.817764173314431e-8},
    {1.6279019339719611, 8433.466158318453, -0.00006427174970469119, 5.332950492204896e-8},
    {5.19846951357992193, 7771.377146170642, -0.00003340851076525812, 9.211459941081184e-8},
    {2.1824386243609943, -33.75704593375351, 0.00003614285992671591, 3.878509448876288e-8},
};

}  // namespace

void FundamentalArgs(double t, double args[5]) {
    for (int i = 0; i < 5; ++i) {
        const double* c = kArgumentPolynomials[i];
        double x = std::fmod(c[0] + t * (c[1] + t * (c[2] + t * c[3])), astro::kTwoPi);
        args[i] = x < 0 ? x + astro::kTwoPi : x;
    }
}

void NutationAngles(double t, double* dpsi, double* deps) {
    static const CompressedSeries series;
    series.evaluate(t, dpsi, deps);
}
