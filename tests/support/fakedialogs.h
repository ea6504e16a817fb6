#pragma once

#include "platform/dialogs.h"

#include <QList>
#include <QString>

/// Dialogs for tests: records every message and answers questions from a script.
class FakeDialogs : public Dialogs
{
public:
    enum class Kind { Critical, Question, Information };
    struct Message
    {
        Kind kind;
        QString title;
        QString text;
    };

    void critical(const QString &title, const QString &text) override;
    bool question(const QString &title, const QString &text) override;
    void information(const QString &title, const QString &text) override;

    /// Answers of the next questions, first first; an unscripted question is answered No.
    QList<bool> answers;
    /// Every message shown, in order.
    QList<Message> messages;
};
