#pragma once

#include <QString>

/// Title of a message box when no other is given.
inline constexpr char kDefaultDialogTitle[] = "TRACKLODGE";

/// Every message box and file chooser the program shows goes through this interface: the window
/// layer shows real message boxes, the tests a scripted fake. Each call waits until the user
/// answers.
class Dialogs
{
public:
    virtual ~Dialogs() = default;
    /// A refusal or failure: critical icon, one OK button.
    virtual void critical(const QString &title, const QString &text) = 0;
    /// A question with Yes and No; true only for Yes.
    virtual bool question(const QString &title, const QString &text) = 0;
    /// A notice: information icon, one OK button.
    virtual void information(const QString &title, const QString &text) = 0;
    /// The name of a file to write, chosen by the user in a file chooser titled `title`, starting
    /// at `suggestedPath` and showing the files `filter` lists ("File CSV (*.csv)"); an existing
    /// file is written over only when the user confirms it. Empty when the user gives up.
    virtual QString saveFileName(const QString &title, const QString &suggestedPath,
                                 const QString &filter) = 0;
};
