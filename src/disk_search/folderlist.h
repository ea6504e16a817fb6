#pragma once

#include <QListWidget>

/// The folder list of the disk search window (`dirList`): the folders from the root down to the
/// open folder, each indented one step more than the one above, then the open folder's
/// subfolders. A click highlights an entry; a double click or Enter opens it, and so does
/// moving the focus elsewhere (the highlighted folder is then what the list shows).
class FolderList : public QListWidget
{
    Q_OBJECT

public:
    explicit FolderList(QWidget *parent = nullptr);

    /// The open folder.
    QString path() const { return m_path; }
    /// Opens a folder (made absolute and clean) and highlights it. A folder that cannot be
    /// read is opened too, with no subfolders. Emits pathChanged() when the folder changes.
    void setPath(const QString &path);
    /// The folder of the highlighted entry; the open folder when nothing is highlighted.
    QString highlightedPath() const;

signals:
    /// The open folder changed.
    void pathChanged(const QString &path);

protected:
    void focusOutEvent(QFocusEvent *event) override;

private:
    void fill();

    QString m_path;
};
