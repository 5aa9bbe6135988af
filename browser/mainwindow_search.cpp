// The main window's search, locate-as-you-type, preview and opening handlers.
#include "mainwindow.h"

#include "bookpaths.h"
#include "locate.h"
#include "preview.h"
#include "search.h"

#include "platform/codec.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "platform/process.h"
#include "platform/qtext.h"
#include "platform/winpath.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QListView>
#include <QRadioButton>
#include <QScopedValueRollback>

#include <utility>

namespace browser {
namespace {

// Both Enter keys; the shift state is never looked at.
bool isEnter(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

void Tpdf::connectSearchAndPreview()
{
    // The notice keeps the font the window had when it was built.
    m_noticeFont = noticeFont(font());
    connect(ListBox1->selectionModel(), &QItemSelectionModel::currentChanged, this, &Tpdf::listCurrentRowChanged);
}

void Tpdf::listCurrentRowChanged(const QModelIndex &current, const QModelIndex &previous)
{
    // A refill makes its first row current from none and shows no preview; the program's
    // own moves show theirs themselves. Rows reached by keys, a press or a drag show theirs.
    if (m_movingCurrentRow || !current.isValid() || !previous.isValid())
        return;
    ShowPreview();
    if (QGuiApplication::mouseButtons() != Qt::NoButton)
        m_rowShownOnPress = current.row();
}

void Tpdf::makeRowCurrent(int row)
{
    const QScopedValueRollback moving(m_movingCurrentRow, true);
    ListBox1->selectionModel()->setCurrentIndex(m_model->index(row, 0), QItemSelectionModel::NoUpdate);
}

void Tpdf::Button1Click()
{
    const int entry = m_model->entryAt(ListBox1->currentIndex().row());
    if (entry < 0)
        return; // an empty list has no book to open
    const Catalogue &catalogue = m_dataFile.catalogue();
    const std::string path = pdfPath(platform::toWin1255(Edit1->text()), catalogue.subfolder(entry), catalogue.id(entry));
    // Without a shell of its own to complain, the browser tells the reader itself when
    // the book is not there or nothing can open it.
    const auto native = platform::toNativePath(path); // no drive: no book
    const QString shownPath = platform::fromUtf8(platform::pathForMessage(platform::win1255ToUtf8(path)));
    if (!native || !platform::fileExists(*native))
        m_services.messenger.show(QStringLiteral("Ondarel"), QStringLiteral("הספר לא נמצא:\n") + shownPath,
                                  platform::MessageIcon::Stop);
    else if (!platform::openWithShell(*native))
        m_services.messenger.show(QStringLiteral("Ondarel"),
                                  QStringLiteral("לא נמצאה תוכנה לפתיחת הספר (xdg-open):\n") + shownPath,
                                  platform::MessageIcon::Stop);
}

void Tpdf::Button2Click()
{
    const std::string text = platform::toWin1255(Edit2->text());
    if (text.empty())
        return;
    m_allBooksShown = false;
    std::vector<std::int32_t> found = findEntries(
        m_dataFile.catalogue(), text, RadioButton1->isChecked() ? SearchField::Titles : SearchField::Authors);
    if (found.empty()) {
        Button3Click();
        m_services.messenger.show(QStringLiteral("Ondarel"), QStringLiteral("לא נמצאה כל תוצאה"),
                                  platform::MessageIcon::None);
        LocateTitle();
        return;
    }
    m_model->showEntries(std::move(found));
    ListBox1->scrollToTop();
    makeRowCurrent(0);
    ShowPreview();
}

void Tpdf::ListBox1Click()
{
    // A click also shows the row that was current already (after a refill, after Ctrl+click).
    const int row = ListBox1->currentIndex().row();
    if (row >= 0 && row == std::exchange(m_rowShownOnPress, -1))
        return;
    ShowPreview();
}

void Tpdf::ListBox1KeyDown(int key)
{
    if (isEnter(key))
        Button1Click();
}

void Tpdf::Edit2KeyDown(int key)
{
    if (isEnter(key))
        Button2Click();
}

void Tpdf::Edit2KeyUp(int key)
{
    if (m_allBooksShown && !isEnter(key))
        LocateTitle();
}

void Tpdf::LocateTitle()
{
    // Catalogue positions are rows only while all books are shown.
    const auto row = locateTitle(m_dataFile.catalogue(), platform::toWin1255(Edit2->text()));
    if (!row || *row >= m_model->rowCount())
        return; // an empty catalogue has no title to compare and no row to show
    ListBox1->scrollTo(m_model->index(*row, 0), QAbstractItemView::PositionAtTop);
    makeRowCurrent(*row);
    ShowPreview();
}

void Tpdf::ShowPreview()
{
    m_rowShownOnPress = -1;
    const int entry = m_model->entryAt(ListBox1->currentIndex().row());
    std::optional<std::string> nativePath;
    if (entry >= 0) {
        const Catalogue &catalogue = m_dataFile.catalogue();
        nativePath = platform::toNativePath(
            thumbnailPath(platform::toWin1255(Edit1->text()), catalogue.subfolder(entry), catalogue.id(entry)));
    }
    loadPreview(m_previewImage, nativePath, PaintBox1->size(), m_noticeFont);
    PaintBox1->repaint();
}

} // namespace browser
