#include "fakedialogs.h"

void FakeDialogs::critical(const QString &title, const QString &text)
{
    messages.append({Kind::Critical, title, text});
}

bool FakeDialogs::question(const QString &title, const QString &text)
{
    messages.append({Kind::Question, title, text});
    return answers.isEmpty() ? false : answers.takeFirst();
}

void FakeDialogs::information(const QString &title, const QString &text)
{
    messages.append({Kind::Information, title, text});
}

QString FakeDialogs::saveFileName(const QString &title, const QString &suggestedPath,
                                  const QString &)
{
    messages.append({Kind::SaveFileName, title, suggestedPath});
    return fileNames.isEmpty() ? QString() : fileNames.takeFirst();
}
