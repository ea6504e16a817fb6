#pragma once

#include <QAnyStringView>

/// Gives `widget` the object name `name`, by which tests and readers find it, and returns it, so
/// that a control is made, named and kept in one expression.
template <typename W> W *named(W *widget, QAnyStringView name)
{
    widget->setObjectName(name);
    return widget;
}
