#include "booklistmodel.h"

#include "platform/qtext.h"

#include <QApplication>
#include <QPainter>

#include <numeric>

namespace browser {

namespace {

// No row is wide enough to show more characters of a field than this; converting and
// laying out the whole of a field of megabytes would stall every repaint of the list.
constexpr size_t kMaxShownCharacters = 4096;

QString shownText(std::string_view field)
{
    return platform::toQString(field.substr(0, kMaxShownCharacters));
}

} // namespace

BookListModel::BookListModel(const Catalogue &catalogue, QObject *parent)
    : QAbstractListModel(parent), m_catalogue(catalogue)
{
}

int BookListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rowEntry.size());
}

QVariant BookListModel::data(const QModelIndex &index, int role) const
{
    const int entry = entryAt(index.row());
    if (!index.isValid() || entry < 0)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return shownText(m_catalogue.title(entry)) + QLatin1Char('\t') + shownText(m_catalogue.author(entry));
    case TitleRole:
        return shownText(m_catalogue.title(entry));
    case AuthorRole:
        return shownText(m_catalogue.author(entry));
    case EntryRole:
        return entry;
    default:
        return {};
    }
}

void BookListModel::showAllEntries()
{
    std::vector<std::int32_t> rows(static_cast<size_t>(m_catalogue.entryCount()));
    std::iota(rows.begin(), rows.end(), 0);
    showEntries(std::move(rows));
}

void BookListModel::showEntries(std::vector<std::int32_t> rows)
{
    beginResetModel();
    m_rowEntry = std::move(rows);
    endResetModel();
}

int BookListModel::entryAt(int row) const
{
    if (row < 0 || static_cast<size_t>(row) >= m_rowEntry.size())
        return -1;
    return m_rowEntry[static_cast<size_t>(row)];
}

int BookRowDelegate::tabPixels(int units, const QFont &font)
{
    const int pixels = units * QFontMetrics(font).averageCharWidth() / 4;
    return pixels > 0 ? pixels : 1;
}

void BookRowDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem background = option;
    initStyleOption(&background, index);
    background.text.clear();
    const QWidget *widget = option.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &background, painter, widget);

    const QString title = index.data(BookListModel::TitleRole).toString();
    const QString author = index.data(BookListModel::AuthorRole).toString();
    const QFontMetrics metrics(option.font);
    const int margin = 2;
    const int tab = tabPixels(m_tabUnits, option.font);
    const int titleWidth = metrics.horizontalAdvance(title);
    const int authorStart = (titleWidth / tab + 1) * tab; // the next tab stop past the title

    painter->save();
    painter->setFont(option.font);
    painter->setPen(option.palette.color(option.state & QStyle::State_Selected ? QPalette::HighlightedText
                                                                               : QPalette::Text));
    painter->setLayoutDirection(option.direction);
    const QRect row = option.rect.adjusted(margin, 0, -margin, 0);
    const bool rightToLeft = option.direction == Qt::RightToLeft;
    // Positions count from the row's start: its right edge in a right-to-left list.
    auto span = [&](int from, int width) {
        return rightToLeft ? QRect(row.right() - from - width + 1, row.top(), width, row.height())
                           : QRect(row.left() + from, row.top(), width, row.height());
    };
    const int flags = Qt::AlignVCenter | (rightToLeft ? Qt::AlignRight : Qt::AlignLeft) | Qt::TextSingleLine;
    painter->setClipRect(option.rect);
    painter->drawText(span(0, titleWidth), flags, title);
    painter->drawText(span(authorStart, metrics.horizontalAdvance(author)), flags, author);
    painter->restore();
}

QSize BookRowDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const
{
    return {option.rect.width(), QFontMetrics(option.font).height() + 1};
}

} // namespace browser
