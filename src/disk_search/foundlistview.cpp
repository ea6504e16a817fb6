#include "foundlistview.h"

FoundListView::FoundListView(QWidget *parent)
    : QListView(parent)
{}

void FoundListView::paintEvent(QPaintEvent *event)
{
    // At most once per repaint, so a search through many folders lays out once per frame, not
    // once per folder.
    executeDelayedItemsLayout();
    QListView::paintEvent(event);
}
