#include "gridsort.h"

#include "cataloguemodel.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <optional>

namespace GridSort {

Column columnOfOption(int optionIndex)
{
    static constexpr Column kColumns[10] = {Title,    Artist, Album, Year,    Genre,
                                            FileName, Folder, State, Comment, MediumLabel};
    return optionIndex >= 0 && optionIndex < 10 ? kColumns[optionIndex] : Title;
}

namespace {

// A cell reads as a number when, without its surrounding blanks, it is a finite decimal number
// ("  7", "2001", "-3.5"); years, track numbers and sizes without a unit sort numerically.
std::optional<double> numberOf(const QString &cell)
{
    const QString trimmed = cell.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    bool ok = false;
    const double value = QLocale::c().toDouble(trimmed, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

int compareKeys(const QString &a, const std::optional<double> &na, const QString &b,
                const std::optional<double> &nb)
{
    if (na && nb)
        return *na < *nb ? -1 : (*nb < *na ? 1 : 0);
    return a.compare(b, Qt::CaseInsensitive);
}

} // namespace

void sortRows(CatalogueModel &model, Column column)
{
    const int n = model.recordCount();
    // Each cell is read, and read as a number, once, not at every comparison.
    std::vector<QString> cells(static_cast<size_t>(n));
    std::vector<std::optional<double>> numbers(static_cast<size_t>(n));
    for (int r = 0; r < n; ++r) {
        cells[static_cast<size_t>(r)] = model.cell(r, column);
        numbers[static_cast<size_t>(r)] = numberOf(cells[static_cast<size_t>(r)]);
    }
    std::vector<int> order(static_cast<size_t>(n));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int x, int y) {
        const auto a = static_cast<size_t>(x);
        const auto b = static_cast<size_t>(y);
        return compareKeys(cells[a], numbers[a], cells[b], numbers[b]) < 0;
    });
    model.reorderRows(order);
}

} // namespace GridSort
