#pragma once
// JPEG files for tests and benchmarks, written with libjpeg.
#include <QColor>
#include <QImage>
#include <QSize>

#include <string>

namespace browser::testing {

enum class JpegKind { Baseline, Progressive, Greyscale };

std::string encodeJpeg(const QImage &picture, JpegKind kind, int quality = 95);

// Four flat quarters: red top left, green top right, blue bottom left, white bottom right.
QImage quarteredPicture(QSize size);
inline const QColor quarterColours[4] = {QColor(255, 0, 0), QColor(0, 255, 0), QColor(0, 0, 255), QColor(255, 255, 255)};

// The bytes with the frame header's height and width replaced.
std::string withAnnouncedSize(std::string jpeg, int width, int height);

} // namespace browser::testing
