#pragma once

#include "platform/dialogs.h"

#include <QList>
#include <QString>
#include <QStringList>

/// Dialogs for tests: records every message and file chooser, and answers questions and file
/// choosers from a script.
class FakeDialogs : public Dialogs
{
public:
    enum class Kind { Critical, Question, Information, SaveFileName };
    struct Message
    {
        Kind kind;
        QString title;
        QString text;
    };

    void critical(const QString &title, const QString &text) override
    {
        messages.append({Kind::Critical, title, text});
    }
    bool question(const QString &title, const QString &text) override
    {
        messages.append({Kind::Question, title, text});
        return !answers.isEmpty() && answers.takeFirst();
    }
    void information(const QString &title, const QString &text) override
    {
        messages.append({Kind::Information, title, text});
    }
    /// Recorded with the suggested path as its text.
    QString saveFileName(const QString &title, const QString &suggestedPath,
                         const QString &) override
    {
        messages.append({Kind::SaveFileName, title, suggestedPath});
        return fileNames.isEmpty() ? QString() : fileNames.takeFirst();
    }

    /// Answers of the next questions, first first; an unscripted question is answered No.
    QList<bool> answers;
    /// Files chosen in the next file choosers, first first; an unscripted chooser is given up.
    QStringList fileNames;
    /// Every message shown, in order.
    QList<Message> messages;
};
