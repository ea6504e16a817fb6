#pragma once

#include <QString>

#include <array>

/// The columns of the catalogue grid. Every reader of the grid addresses cells by these.
enum Column {
    Title = 0,
    Artist = 1,
    Album = 2,
    Year = 3,
    Genre = 4,
    Comment = 5,
    FileName = 6,
    Folder = 7,
    Size = 8,
    State = 9,
    MediumLabel = 10,
    Key = 11,
};

/// Number of grid columns.
inline constexpr int kColumnCount = 12;

/// One grid row: the twelve cell texts in column order.
using GridRow = std::array<QString, kColumnCount>;
