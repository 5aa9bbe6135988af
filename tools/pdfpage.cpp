#include "pdfpage.h"

#include "collection.h"

#include "platform/qtext.h"

#include <QBuffer>
#include <QFont>
#include <QPainter>
#include <QPdfWriter>
#include <QTextOption>

#include <stdexcept>

namespace tools {
namespace {

const QString kFontFamily = QStringLiteral("DejaVu Sans");

// Paragraph direction from the text itself, so that a Latin title reads left to right
// and a Hebrew one (with its Latin words and digits) right to left.
QTextOption centredParagraph(const QString &text)
{
    QTextOption option(Qt::AlignHCenter | Qt::AlignTop);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    option.setTextDirection(text.isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight);
    return option;
}

// Draws text in the largest size from largest down to smallest that fits the box.
void drawFitted(QPainter &painter, const QRectF &box, const QString &text, int largest, int smallest, bool bold)
{
    const QTextOption option = centredParagraph(text);
    QFont font(kFontFamily);
    font.setBold(bold);
    for (int size = largest; size >= smallest; --size) {
        font.setPointSize(size);
        painter.setFont(font);
        const QRectF needed = painter.boundingRect(box, text, option);
        if (needed.height() <= box.height() || size == smallest)
            break;
    }
    painter.drawText(box, text, option);
}

// QPdfWriter stamps "/CreationDate (D:YYYYMMDDHHmmSS" and a zone ("Z" or "+HH'mm'").
// Overwriting it with a date of the same length keeps every byte offset of the file.
void fixCreationDate(QByteArray &pdf)
{
    const QByteArray key = QByteArrayLiteral("/CreationDate (D:");
    const qsizetype at = pdf.indexOf(key);
    if (at < 0)
        return;
    const qsizetype digits = at + key.size();
    const QByteArray fixedDate = QByteArrayLiteral("20000101000000");
    if (digits + fixedDate.size() > pdf.size())
        return;
    pdf.replace(digits, fixedDate.size(), fixedDate);
    const qsizetype zone = digits + fixedDate.size();
    const QByteArray utc = QByteArrayLiteral("+00'00'");
    if (zone + utc.size() <= pdf.size() && (pdf[zone] == '+' || pdf[zone] == '-'))
        pdf.replace(zone, utc.size(), utc);
}

} // namespace

std::string renderBookPdf(const Book &book)
{
    const QString title = platform::toQString(book.title);
    const QString author = platform::toQString(book.author);

    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(QPageSize::A5));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setResolution(72); // one unit is one point
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Kelidor sample collection"));

        QPainter painter;
        if (!painter.begin(&writer))
            throw std::runtime_error("the PDF writer cannot paint");
        const QRectF page(0, 0, writer.width(), writer.height());
        painter.fillRect(page, QColor(250, 246, 234));
        painter.setPen(QPen(QColor(120, 24, 36), 3));
        painter.drawRect(page.adjusted(20, 20, -20, -20));

        painter.setPen(QColor(20, 20, 30));
        drawFitted(painter, QRectF(44, 110, page.width() - 88, 250), title, 26, 9, true);
        if (!author.isEmpty())
            drawFitted(painter, QRectF(44, 380, page.width() - 88, 80), author, 16, 9, false);
        const QString footer = QString::fromUtf8("\u05DE\u05E1' %1").arg(book.id); // "מס' <id>"
        drawFitted(painter, QRectF(44, page.height() - 70, page.width() - 88, 24), footer, 10, 10, false);
        painter.end();
    }
    QByteArray pdf = buffer.data();
    fixCreationDate(pdf);
    return pdf.toStdString();
}

} // namespace tools
