#include "waitwindow.h"

#include "mainwindowtexts.h"

#include <QCoreApplication>
#include <QLabel>
#include <QVBoxLayout>

WaitWindow::WaitWindow(QWidget *parent)
    : QWidget(parent, Qt::Dialog | Qt::WindowStaysOnTopHint)
    , m_label(new QLabel(QString::fromUtf8(MainWindowTexts::kWaitLoading), this))
{
    setObjectName(QStringLiteral("Attendere"));
    setWindowTitle(QString::fromUtf8(MainWindowTexts::kWaitCaption));
    m_label->setObjectName(QStringLiteral("Label1"));
    QFont font = m_label->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.5);
    m_label->setFont(font);
    m_label->setAlignment(Qt::AlignCenter);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(32, 24, 32, 24);
    layout->addWidget(m_label);
}

void WaitWindow::showNow()
{
    show();
    raise();
    // Let the window system map the window, then paint it before the load blocks the loop.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    repaint();
}
