#pragma once

#include <QString>
#include <QStringList>

#include <optional>

/// Title of a message box when no other is given.
inline constexpr char kDefaultDialogTitle[] = "TRACKLODGE";

/// What the user chose in a file chooser.
struct SaveFileChoice
{
    QString path;   ///< the file, empty when the user gave up
    QString filter; ///< the file type chosen: one of the filters offered
};

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
    /// A file to write, chosen by the user in a file chooser titled `title`, starting at
    /// `suggestedPath` and offering the file types `filters` ("CSV (*.csv)"), the first chosen
    /// at first. A name typed without an extension gets the extension of the type chosen; an
    /// existing file is written over only when the user confirms it. An empty path when the
    /// user gives up.
    virtual SaveFileChoice saveFileName(const QString &title, const QString &suggestedPath,
                                        const QStringList &filters) = 0;
    /// A text typed by the user in a box titled `title`, under the caption `prompt`, holding
    /// `initial` at first; OK gives the text as typed, Cancel (or closing the box) nullopt.
    virtual std::optional<QString> askText(const QString &title, const QString &prompt,
                                           const QString &initial) = 0;
};
