#pragma once

#include "catalogue/compattadb.h"

/// The wait cursor over the whole application for as long as the object lives: set when it is
/// made, and the cursor shown before (the normal one, or an outer BusyCursor's) put back when
/// it goes, on every way out of the scope. Instances nest.
class BusyCursor
{
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};

/// The core's busy pointer shown as a BusyCursor: `show` makes one, `restore` ends the latest
/// one still shown and does nothing when none is. Every copy shares those cursors; one still
/// shown when the last copy goes is ended then, so the pointer never stays busy.
BusyPointer busyCursorPointer();
