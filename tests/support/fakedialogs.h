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
    /// Recorded with the suggested path as its text; the filters offered are kept in `filters`.
    SaveFileChoice saveFileName(const QString &title, const QString &suggestedPath,
                                const QStringList &offered) override
    {
        messages.append({Kind::SaveFileName, title, suggestedPath});
        filters = offered;
        return choices.isEmpty() ? SaveFileChoice{} : choices.takeFirst();
    }

    /// Answers of the next questions, first first; an unscripted question is answered No.
    QList<bool> answers;
    /// Files and types chosen in the next file choosers, first first; an unscripted chooser is
    /// given up.
    QList<SaveFileChoice> choices;
    /// The file types the last file chooser offered.
    QStringList filters;
    /// Every message shown, in order.
    QList<Message> messages;
};
