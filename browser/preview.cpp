#include "preview.h"

#include "thumbnail.h"

#include <QPainter>

namespace browser {

QFont noticeFont(const QFont &windowFont)
{
    QFont font(windowFont);
    font.setPointSize(18);
    return font;
}

namespace {

// preview at area in RGB32, kept when it is so already: painting over it in place spares
// allocating (and faulting in) a fresh image on every change of row.
void prepare(QImage &preview, QSize area)
{
    if (preview.size() != area || preview.format() != QImage::Format_RGB32)
        preview = QImage(area, QImage::Format_RGB32);
}

} // namespace

void drawStretched(QImage &preview, const QImage &picture, QSize area)
{
    prepare(preview, area);
    if (preview.isNull())
        return;
    QPainter painter(&preview);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(QRect(QPoint(0, 0), area), picture);
}

void drawNotice(QImage &preview, QSize area, const QFont &font)
{
    const QString notice = QStringLiteral("לא נמצאה תמונה");
    prepare(preview, area);
    if (preview.isNull())
        return;
    preview.fill(Qt::white);
    QPainter painter(&preview);
    painter.setFont(font);
    painter.setPen(QColor(255, 0, 0));
    painter.setLayoutDirection(Qt::RightToLeft);
    const QFontMetrics metrics = painter.fontMetrics();
    const int textWidth = metrics.horizontalAdvance(notice);
    const int textHeight = metrics.height();
    // The text's top left corner; each halving truncates.
    const int x = area.width() / 2 - textWidth / 2;
    const int y = area.height() / 2 - textHeight / 2;
    painter.drawText(QPoint(x, y + metrics.ascent()), notice);
}

bool loadPreview(QImage &preview, const std::optional<std::string> &nativePath, QSize area, const QFont &font)
{
    if (nativePath && !area.isEmpty()) {
        const JpegPicture picture = readJpegFile(*nativePath, area);
        if (!picture.image.isNull()) {
            drawStretched(preview, picture.image, area);
            return true;
        }
    }
    drawNotice(preview, area, font);
    return false;
}

} // namespace browser
