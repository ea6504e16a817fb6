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

    void critical(const QString &title, const QString &text) override;
    bool question(const QString &title, const QString &text) override;
    void information(const QString &title, const QString &text) override;
    /// Recorded with the suggested path as its text.
    QString saveFileName(const QString &title, const QString &suggestedPath,
                         const QString &filter) override;

    /// Answers of the next questions, first first; an unscripted question is answered No.
    QList<bool> answers;
    /// Files chosen in the next file choosers, first first; an unscripted chooser is given up.
    QStringList fileNames;
    /// Every message shown, in order.
    QList<Message> messages;
};
