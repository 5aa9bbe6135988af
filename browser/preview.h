#pragma once
// The preview picture: a book's thumbnail stretched over the preview area (each direction
// by itself, so a picture of another shape is distorted), or the notice "לא נמצאה תמונה"
// in red, centred on white, when there is no picture to show.
#include <QFont>
#include <QImage>
#include <QSize>

#include <optional>
#include <string>

namespace browser {

// The notice's font: the window's font at 18 points (the notice is drawn in red).
QFont noticeFont(const QFont &windowFont);

// preview becomes the picture stretched to area (nearest neighbour).
void drawStretched(QImage &preview, const QImage &picture, QSize area);

// preview becomes white at area with the notice centred on it.
void drawNotice(QImage &preview, QSize area, const QFont &font);

// Decodes the thumbnail at nativePath (nothing: there is no file to read) into preview,
// or draws the notice when it cannot be shown for any reason. Returns whether the
// picture was drawn.
bool loadPreview(QImage &preview, const std::optional<std::string> &nativePath, QSize area, const QFont &font);

} // namespace browser
