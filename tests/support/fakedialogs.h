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
    enum class Kind { Critical, Question, Information, SaveFileName, AskText };
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

    /// Recorded with the prompt as its text; the text offered at first is kept in `initialText`.
    std::optional<QString> askText(const QString &title, const QString &prompt,
                                   const QString &initial) override
    {
        messages.append({Kind::AskText, title, prompt});
        initialText = initial;
        return texts.isEmpty() ? std::nullopt : texts.takeFirst();
    }

    /// Answers of the next questions, first first; an unscripted question is answered No.
    QList<bool> answers;
    /// Files and types chosen in the next file choosers, first first; an unscripted chooser is
    /// given up.
    QList<SaveFileChoice> choices;
    /// Texts typed in the next text boxes, first first (nullopt: Cancel); an unscripted box is
    /// cancelled.
    QList<std::optional<QString>> texts;
    /// The text the last text box held at first.
    QString initialText;
    /// The file types the last file chooser offered.
    QStringList filters;
    /// Every message shown, in order.
    QList<Message> messages;
};
