#pragma once

#include <QListView>

/// The found list of the disk search. A list view lays out new rows only when control returns
/// to the event loop, which a running search does not do; this one lays them out whenever it
/// repaints, so a repaint during a search shows every row found so far.
class FoundListView : public QListView
{
    Q_OBJECT

public:
    explicit FoundListView(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};
