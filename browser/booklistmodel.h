#pragma once
// The result list: a model over rowEntry, the table that maps list rows to catalogue
// entries. Row r shows entry rowEntry[r] as title, TAB, author; refilling the list is
// one model reset, however many rows. A field shows at most its first 4096 characters:
// no row is wide enough for more.
#include "catalogue.h"

#include <QAbstractListModel>
#include <QStyledItemDelegate>

#include <cstdint>
#include <vector>

namespace browser {

class BookListModel final : public QAbstractListModel {
    Q_OBJECT
public:
    enum Role { TitleRole = Qt::UserRole + 1, AuthorRole, EntryRole };

    explicit BookListModel(const Catalogue &catalogue, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    // Row k shows entry k, for every entry.
    void showAllEntries();
    // Row i shows entry rows[i].
    void showEntries(std::vector<std::int32_t> rows);

    // The entry a row shows; rows outside the list have none (-1).
    int entryAt(int row) const;
    const std::vector<std::int32_t> &rowEntry() const { return m_rowEntry; }

private:
    const Catalogue &m_catalogue;
    std::vector<std::int32_t> m_rowEntry;
};

// Draws a row as the list box did: the title from the row's start (its right edge,
// right to left), the author at the first tab stop past the title.
class BookRowDelegate final : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // Tab stops every `units` quarters of the list font's average character width.
    void setTabUnits(int units) { m_tabUnits = units; }
    int tabUnits() const { return m_tabUnits; }
    static int tabPixels(int units, const QFont &font);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    int m_tabUnits = 220;
};

} // namespace browser
