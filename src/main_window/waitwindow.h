#pragma once

#include <QWidget>

class QLabel;

/// The wait window `Attendere` ("ATTENDERE"), shown while the catalogue loads.
class WaitWindow : public QWidget
{
    Q_OBJECT

public:
    explicit WaitWindow(QWidget *parent = nullptr);
    /// Shows the window and paints it at once, before the caller blocks the event loop.
    void showNow();

private:
    QLabel *m_messageLabel;
};
