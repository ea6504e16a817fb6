#include "busycursor.h"

#include <QApplication>

#include <list>
#include <memory>

BusyCursor::BusyCursor()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

BusyCursor::~BusyCursor()
{
    QApplication::restoreOverrideCursor();
}

BusyPointer busyCursorPointer()
{
    // A list: a BusyCursor can be neither copied nor moved.
    const auto shown = std::make_shared<std::list<BusyCursor>>();
    return BusyPointer{[shown] { shown->emplace_back(); },
                       [shown] {
                           if (!shown->empty())
                               shown->pop_back();
                       }};
}
