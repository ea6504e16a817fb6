#pragma once

#include "gridcolumns.h"

#include <QString>

class Volumes;

/// The status line of a clicked row: file name, " - ", the medium word (the state word in
/// capitals, "HARD DISK" for "OK"), " (", the mount point of the volume holding the folder,
/// ") - " and the medium label in capitals. The mount point is shown as it is, since Linux
/// paths are case-sensitive; it is empty when no volume holds the folder.
QString statusLineText(const GridRow &row, Volumes &volumes);
