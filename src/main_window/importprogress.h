#pragma once

#include <QElapsedTimer>
#include <QPointer>

class QProgressDialog;
class QWidget;

/// The progress of an import, shown in a dialog above `parent` once the import has run for a
/// second, and brought up to date a few times a second: files done of files to do.
class ImportProgress
{
public:
    explicit ImportProgress(QWidget *parent);
    ~ImportProgress();
    ImportProgress(const ImportProgress &) = delete;
    ImportProgress &operator=(const ImportProgress &) = delete;

    /// The progress callback of the import.
    void update(qsizetype done, qsizetype total);

private:
    QWidget *m_parent;
    QPointer<QProgressDialog> m_dialog;
    QElapsedTimer m_started;
    QElapsedTimer m_sinceShown;
    bool m_shown = false;
};
