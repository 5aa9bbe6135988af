#pragma once
// The folder tree list: the root, the chain of folders down to the current folder,
// and the current folder's sub-folders, indented as a tree. A single click only
// highlights a folder; a double click or Enter makes it the current folder and
// rebuilds the list. Hidden folders (names starting with ".") are not offered.
#include "foldertree.h"

#include <QAbstractListModel>
#include <QListView>

#include <string>
#include <vector>

namespace integrator {

class FolderTreeModel final : public QAbstractListModel {
    Q_OBJECT
public:
    enum Role { DepthRole = Qt::UserRole + 1, PathRole, OpenRole };

    using QAbstractListModel::QAbstractListModel;

    void setRows(std::vector<FolderRow> rows);
    const std::vector<FolderRow> &rows() const { return m_rows; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    std::vector<FolderRow> m_rows;
};

class DirectoryListBox final : public QListView {
    Q_OBJECT
public:
    explicit DirectoryListBox(QWidget *parent = nullptr);

    // The current folder, a native absolute path (ending with "/" only at the root).
    const std::string &currentFolder() const { return m_currentFolder; }
    // Makes an existing folder current and rebuilds the list; false (and nothing
    // changed but a fresh list) when it is no folder.
    bool setCurrentFolder(const std::string &nativeFolder);

    // The sub-folders of a folder as the list offers them: hidden ones left out,
    // sorted as people read them (case aside, numbers by value).
    // Lists the current folder's sub-folders again.
    void refresh() { rebuild(); }

    static std::vector<std::string> subfoldersOf(const std::string &nativeFolder);

Q_SIGNALS:
    void currentFolderChanged();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void openRow(const QModelIndex &index);
    void rebuild();

    FolderTreeModel m_model;
    std::string m_currentFolder;
};

} // namespace integrator
