#pragma once

#include "platform/dialogs.h"

class QWidget;

/// Message boxes on screen, above the given parent window, or above every window when there is
/// none. Enter answers with the default button (OK, or No for a question), Esc with OK or No.
class MessageBoxDialogs : public Dialogs
{
public:
    explicit MessageBoxDialogs(QWidget *parent = nullptr)
        : m_parent(parent)
    {}
    /// Changes the window the message boxes stand above.
    void setParent(QWidget *parent) { m_parent = parent; }

    void critical(const QString &title, const QString &text) override;
    bool question(const QString &title, const QString &text) override;
    void information(const QString &title, const QString &text) override;
    /// Qt's file chooser, which also gives a typed name's extension the type chosen after it.
    SaveFileChoice saveFileName(const QString &title, const QString &suggestedPath,
                                const QStringList &filters) override;
    /// A box of its own (object name `Testo`): the prompt as the caption of the text box
    /// (`Text1`), then OK and Cancel.
    std::optional<QString> askText(const QString &title, const QString &prompt,
                                   const QString &initial) override;

private:
    QWidget *m_parent;
};
