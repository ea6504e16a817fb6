#include "waitwindow.h"

#include "mainwindowtexts.h"

#include "utf8text.h"

#include <QCoreApplication>
#include <QLabel>
#include <QVBoxLayout>

WaitWindow::WaitWindow(QWidget *parent)
    : QWidget(parent, Qt::Dialog | Qt::WindowStaysOnTopHint)
    , m_messageLabel(new QLabel(text(MainWindowTexts::kWaitLoading), this))
{
    setObjectName(QStringLiteral("Attendere"));
    setWindowTitle(text(MainWindowTexts::kWaitCaption));
    m_messageLabel->setObjectName(QStringLiteral("Label1"));
    QFont font = m_messageLabel->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.5);
    m_messageLabel->setFont(font);
    m_messageLabel->setAlignment(Qt::AlignCenter);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(32, 24, 32, 24);
    layout->addWidget(m_messageLabel);
}

void WaitWindow::showNow()
{
    show();
    raise();
    // Let the window system map the window, then paint it before the load blocks the loop.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    repaint();
}
