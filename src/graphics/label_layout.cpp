#include "graphics/label_layout.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "astronomy/angles.h"
#include "chart/separation.h"

namespace cel::graphics {

namespace {

using astronomy::Norm360;

// The glyphs of one row, unrolled into an increasing run from the cut, spread in order; false when the
// spread runs round the whole circle.
bool SpreadRow(const std::vector<LayoutReal> &q, int row, const RowLayoutRequest &request,
               std::vector<LayoutReal> &x) {
    const std::size_t n = q.size();
    x = q;
    if (n < 2)
        return true;
    std::vector<LayoutReal> d(n, 0);
    // The separations where the neighbours meet, taken again where they end up (the larger of the two).
    for (std::size_t j = 0; j + 1 < n; ++j)
        d[j] = request.separation(row, (q[j] + q[j + 1]) / 2);
    chart::SeparateInOrder(q, d, x);
    for (std::size_t j = 0; j + 1 < n; ++j)
        d[j] = std::max(d[j], request.separation(row, (x[j] + x[j + 1]) / 2));
    chart::SeparateInOrder(q, d, x);
    return x[0] + 360 - x[n - 1] >= request.separation(row, (x[n - 1] + x[0] + 360) / 2);
}

struct Attempt {
    RowLayout layout;
    bool closes = true; // no row's spread runs round the circle
};

// Lays the glyphs (already unrolled: order[j] is the body index of the j-th, q[j] its angle) on `rows`
// rows. Greedy: a glyph takes the first row on which the glyph before it leaves room enough, else the
// row where it need move least. Otherwise by turns: the glyphs of a crowd (neighbours closer than the
// separation) take the rows in turn.
Attempt OnRows(const std::vector<int> &order, const std::vector<LayoutReal> &q, int rows,
               const RowLayoutRequest &request, bool greedy) {
    Attempt attempt;
    std::vector<int> rowOf(q.size(), 0);
    if (rows > 1 && !greedy) {
        int turn = 0;
        for (std::size_t j = 1; j < q.size(); ++j) {
            const bool crowded = q[j] - q[j - 1] < request.separation(0, (q[j] + q[j - 1]) / 2);
            turn = crowded ? turn + 1 : 0;
            rowOf[j] = turn % rows;
        }
    } else if (rows > 1) {
        std::vector<LayoutReal> last(static_cast<std::size_t>(rows), -1e9);
        const LayoutReal allowance = std::min<LayoutReal>(1, request.wantedShift / 4);
        for (std::size_t j = 0; j < q.size(); ++j) {
            int best = 0;
            LayoutReal bestPush = 1e9;
            for (int r = 0; r < rows; ++r) {
                const LayoutReal reach = last[static_cast<std::size_t>(r)];
                const LayoutReal push =
                    reach < -1e8 ? 0 : std::max<LayoutReal>(0, reach + request.separation(r, q[j]) - q[j]);
                if (push < bestPush - 1e-9) {
                    best = r;
                    bestPush = push;
                }
                if (push <= allowance) // room enough here: further rows only for the crowded
                    break;
            }
            rowOf[j] = best;
            last[static_cast<std::size_t>(best)] = q[j] + bestPush;
        }
    }
    int used = 0;
    for (int r = 0; r < rows; ++r) {
        std::vector<LayoutReal> rq, rx;
        std::vector<std::size_t> members;
        for (std::size_t j = 0; j < q.size(); ++j)
            if (rowOf[j] == r) {
                rq.push_back(q[j]);
                members.push_back(j);
            }
        if (members.empty())
            continue;
        used = r + 1;
        attempt.closes = SpreadRow(rq, r, request, rx) && attempt.closes;
        for (std::size_t k = 0; k < members.size(); ++k) {
            const std::size_t j = members[k];
            const std::size_t body = static_cast<std::size_t>(order[j]);
            attempt.layout.angles[body] = Norm360(rx[k]);
            attempt.layout.rows[body] = r;
            attempt.layout.largestShift = std::max(attempt.layout.largestShift, std::fabs(rx[k] - q[j]));
        }
    }
    attempt.layout.rowsUsed = std::max(used, 1);
    return attempt;
}

} // namespace

RowLayout LayoutInRows(const RowLayoutRequest &request) {
    RowLayout fixed;
    std::vector<int> order;
    for (int i = 0; i < kBodyCount; ++i) {
        const LayoutReal a = request.angles[static_cast<std::size_t>(i)];
        fixed.angles[static_cast<std::size_t>(i)] = a;
        if (std::isfinite(a))
            order.push_back(i);
    }
    if (order.empty() || !request.separation)
        return fixed;
    // Sorted by angle, cut at the widest gap and unrolled from there, so every glyph keeps its neighbours.
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return Norm360(request.angles[static_cast<std::size_t>(a)]) <
               Norm360(request.angles[static_cast<std::size_t>(b)]);
    });
    const std::size_t n = order.size();
    std::vector<LayoutReal> sorted(n);
    for (std::size_t j = 0; j < n; ++j)
        sorted[j] = Norm360(request.angles[static_cast<std::size_t>(order[j])]);
    std::size_t cut = n - 1;
    LayoutReal widest = sorted[0] + 360 - sorted[n - 1];
    for (std::size_t j = 0; j + 1 < n; ++j)
        if (sorted[j + 1] - sorted[j] > widest) {
            widest = sorted[j + 1] - sorted[j];
            cut = j;
        }
    std::vector<int> unrolledOrder(n);
    std::vector<LayoutReal> q(n);
    for (std::size_t j = 0; j < n; ++j) {
        const std::size_t i = (cut + 1 + j) % n;
        unrolledOrder[j] = order[i];
        q[j] = sorted[i] + (i <= cut && cut != n - 1 ? 360 : 0);
    }
    const int rows = std::clamp(request.rows, 1, 4);
    Attempt best;
    bool have = false;
    for (int r = 1; r <= rows; ++r) {
        for (const bool greedy : {true, false}) {
            if (r == 1 && !greedy)
                continue;
            Attempt attempt = OnRows(unrolledOrder, q, r, request, greedy);
            const bool better = !have || (attempt.closes && !best.closes) ||
                                (attempt.closes == best.closes &&
                                 attempt.layout.largestShift < best.layout.largestShift - 0.25L);
            if (better) {
                best = attempt;
                have = true;
            }
        }
        if (best.closes && best.layout.largestShift <= request.wantedShift)
            break;
    }
    for (int i = 0; i < kBodyCount; ++i)
        if (!std::isfinite(request.angles[static_cast<std::size_t>(i)])) {
            best.layout.angles[static_cast<std::size_t>(i)] = request.angles[static_cast<std::size_t>(i)];
            best.layout.rows[static_cast<std::size_t>(i)] = 0;
        }
    return best.layout;
}

} // namespace cel::graphics
