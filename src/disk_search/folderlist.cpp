#include "folderlist.h"

#include "import/folderlisting.h"

#include <QDir>
#include <QFocusEvent>
#include <QStyle>

namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kIndentBlanks = 2;

} // namespace

FolderList::FolderList(QWidget *parent)
    : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    connect(this, &QListWidget::itemActivated, this,
            [this](QListWidgetItem *item) { setPath(item->data(kPathRole).toString()); });
}

void FolderList::setPath(const QString &path)
{
    const QString clean = QDir::cleanPath(QDir(path).absolutePath());
    const bool changed = clean != m_path;
    m_path = clean;
    fill();
    if (changed)
        emit pathChanged(m_path);
}

QString FolderList::highlightedPath() const
{
    const QListWidgetItem *item = currentItem();
    return item ? item->data(kPathRole).toString() : m_path;
}

void FolderList::focusOutEvent(QFocusEvent *event)
{
    QListWidget::focusOutEvent(event);
    // Only a move of the focus inside the window opens the folder; a message box or another
    // window taking the focus leaves the list as it is.
    const Qt::FocusReason reason = event->reason();
    if ((reason == Qt::MouseFocusReason || reason == Qt::TabFocusReason ||
         reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason) &&
        highlightedPath() != m_path)
        setPath(highlightedPath());
}

void FolderList::fill()
{
    clear();
    const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirIcon);

    // The way down from the root: "/", then one entry per part of the path.
    QStringList parts = m_path.split(u'/', Qt::SkipEmptyParts);
    QString folder = QStringLiteral("/");
    int depth = 0;
    const auto add = [this](const QIcon &icon, const QString &text, const QString &path,
                            int indent) {
        auto *entry = new QListWidgetItem(icon, QString(indent * kIndentBlanks, u' ') + text, this);
        entry->setData(kPathRole, path);
        return entry;
    };
    QListWidgetItem *open = add(openIcon, folder, folder, depth);
    for (const QString &part : parts) {
        folder = entryPath(folder, part);
        open = add(openIcon, part, folder, ++depth);
    }
    for (const QString &name : listFolder(m_path).subfolders)
        add(closedIcon, name, entryPath(m_path, name), depth + 1);
    setCurrentItem(open);
}
