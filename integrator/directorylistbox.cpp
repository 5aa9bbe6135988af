#include "directorylistbox.h"

#include "platform/files.h"
#include "platform/qtext.h"

#include <QApplication>
#include <QCollator>
#include <QKeyEvent>
#include <QStyle>
#include <QStyledItemDelegate>

#include <algorithm>
#include <filesystem>

namespace integrator {
namespace {

constexpr int kItemHeight = 17;
constexpr int kIndentPerLevel = 10;

// Draws a row indented by its depth, from the right in a right-to-left list.
class FolderTreeDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem indented = option;
        const int indent = index.data(FolderTreeModel::DepthRole).toInt() * kIndentPerLevel;
        if (option.direction == Qt::RightToLeft)
            indented.rect.setRight(option.rect.right() - indent);
        else
            indented.rect.setLeft(option.rect.left() + indent);
        QStyledItemDelegate::paint(painter, indented, index);
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const QSize natural = QStyledItemDelegate::sizeHint(option, index);
        return {natural.width() + index.data(FolderTreeModel::DepthRole).toInt() * kIndentPerLevel, kItemHeight};
    }
};

std::string canonicalFolder(const std::string &nativeFolder)
{
    std::error_code error;
    const auto canonical = std::filesystem::canonical(nativeFolder, error);
    return error ? std::filesystem::path(nativeFolder).lexically_normal().string() : canonical.string();
}

} // namespace

void FolderTreeModel::setRows(std::vector<FolderRow> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

int FolderTreeModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

QVariant FolderTreeModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const FolderRow &row = m_rows[static_cast<size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return platform::fromUtf8(row.name);
    case Qt::ToolTipRole:
    case PathRole:
        return platform::fromUtf8(row.path);
    case Qt::DecorationRole: {
        const QStyle::StandardPixmap pixmap = row.depth == 0 ? QStyle::SP_DriveHDIcon
            : row.open                                     ? QStyle::SP_DirOpenIcon
                                                           : QStyle::SP_DirClosedIcon;
        return QApplication::style()->standardIcon(pixmap);
    }
    case DepthRole:
        return row.depth;
    case OpenRole:
        return row.open;
    default:
        return {};
    }
}

DirectoryListBox::DirectoryListBox(QWidget *parent) : QListView(parent)
{
    setModel(&m_model);
    setItemDelegate(new FolderTreeDelegate(this));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    setIconSize(QSize(14, 14));
    connect(this, &QAbstractItemView::doubleClicked, this, &DirectoryListBox::openRow);
    setCurrentFolder(platform::currentFolder());
}

bool DirectoryListBox::setCurrentFolder(const std::string &nativeFolder)
{
    const bool isFolder = platform::folderExists(nativeFolder);
    if (isFolder)
        m_currentFolder = canonicalFolder(nativeFolder);
    rebuild();
    if (isFolder)
        Q_EMIT currentFolderChanged();
    return isFolder;
}

std::vector<std::string> DirectoryListBox::subfoldersOf(const std::string &nativeFolder)
{
    std::vector<std::string> names;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(nativeFolder, std::filesystem::directory_options::skip_permission_denied, error), end;
         !error && entry != end; entry.increment(error)) {
        std::string name = entry->path().filename().string();
        std::error_code kindError;
        if (!name.starts_with('.') && entry->is_directory(kindError))
            names.push_back(std::move(name));
    }
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(true);
    std::sort(names.begin(), names.end(), [&collator](const std::string &left, const std::string &right) {
        const int order = collator.compare(platform::fromUtf8(left), platform::fromUtf8(right));
        return order != 0 ? order < 0 : left < right;
    });
    return names;
}

void DirectoryListBox::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        openRow(currentIndex());
        event->accept();
        return;
    }
    QListView::keyPressEvent(event);
}

void DirectoryListBox::openRow(const QModelIndex &index)
{
    if (!index.isValid())
        return;
    const std::string folder = m_model.rows()[static_cast<size_t>(index.row())].path; // the rows are rebuilt
    setCurrentFolder(folder);
}

void DirectoryListBox::rebuild()
{
    if (m_currentFolder.empty())
        m_currentFolder = "/";
    m_model.setRows(folderTreeRows(m_currentFolder, subfoldersOf(m_currentFolder)));
    const QModelIndex current = m_model.index(static_cast<int>(currentRowOf(m_model.rows())));
    setCurrentIndex(current);
    scrollTo(current);
}

} // namespace integrator
