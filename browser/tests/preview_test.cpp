// Thumbnails decoded with libjpeg and drawn into the preview picture, or the notice.
#include "jpegfixture.h"

#include "browser/preview.h"
#include "browser/thumbnail.h"
#include "platform/files.h"

#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

using namespace browser;
using namespace browser::testing;

namespace {

const QSize previewArea(327, 425);

QFont windowFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(12);
    return font;
}

// The grey the fixture's greyscale picture holds for a colour.
int greyOf(const QColor &colour)
{
    QImage pixel(1, 1, QImage::Format_RGB32);
    pixel.fill(colour);
    return pixel.convertToFormat(QImage::Format_Grayscale8).pixelColor(0, 0).red();
}

bool near(const QColor &seen, const QColor &expected, bool grey)
{
    const int tolerance = 48;
    if (grey) // the four greys lie closer together
        return std::abs(seen.red() - greyOf(expected)) <= 12 && seen.red() == seen.green()
            && seen.green() == seen.blue();
    return std::abs(seen.red() - expected.red()) <= tolerance && std::abs(seen.green() - expected.green()) <= tolerance
        && std::abs(seen.blue() - expected.blue()) <= tolerance;
}

QString describe(const QColor &colour)
{
    return QStringLiteral("(%1, %2, %3)").arg(colour.red()).arg(colour.green()).arg(colour.blue());
}

} // namespace

// The picture of jpegfixture's four quarters fills image wholly: each corner and the
// middle of each quarter has its quarter's colour, and the quarters meet in the middle.
void verifyQuartersFill(const QImage &image, bool grey)
{
    const int w = image.width(), h = image.height();
    struct Probe {
        int x, y, quarter;
    };
    const Probe probes[] = {
        {1, 1, 0},         {w - 2, 1, 1},         {1, h - 2, 2},         {w - 2, h - 2, 3},
        {w / 4, h / 4, 0}, {3 * w / 4, h / 4, 1}, {w / 4, 3 * h / 4, 2}, {3 * w / 4, 3 * h / 4, 3},
        {w / 2 - 8, h / 2 - 8, 0}, {w / 2 + 8, h / 2 - 8, 1}, {w / 2 - 8, h / 2 + 8, 2}, {w / 2 + 8, h / 2 + 8, 3},
    };
    for (const Probe &probe : probes) {
        const QColor seen = image.pixelColor(probe.x, probe.y);
        QVERIFY2(near(seen, quarterColours[probe.quarter], grey),
                 qPrintable(QStringLiteral("at %1, %2: %3, expected %4")
                                .arg(probe.x)
                                .arg(probe.y)
                                .arg(describe(seen), describe(quarterColours[probe.quarter]))));
    }
}

// White, with red text centred: every other pixel is red blended into white.
void verifyNotice(const QImage &image, QSize area)
{
    QCOMPARE(image.size(), area);
    int left = area.width(), right = -1, top = area.height(), bottom = -1, fullRed = 0;
    for (int y = 0; y < area.height(); ++y)
        for (int x = 0; x < area.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c == QColor(Qt::white))
                continue;
            QVERIFY2(c.red() >= 250 && c.green() == c.blue(), qPrintable(describe(c)));
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
            if (c.green() < 60)
                ++fullRed;
        }
    QVERIFY2(fullRed > 100, "no red text");
    QVERIFY2(right - left > 100 && right - left < area.width() - 40, qPrintable(QString::number(right - left)));
    QVERIFY2(bottom - top > 10 && bottom - top < 40, qPrintable(QString::number(bottom - top)));
    QVERIFY2(std::abs((left + right) / 2 - area.width() / 2) <= 4, qPrintable(QString::number((left + right) / 2)));
    QVERIFY2(std::abs((top + bottom) / 2 - area.height() / 2) <= 8, qPrintable(QString::number((top + bottom) / 2)));
}

class PreviewTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_folder;

    std::string file(const char *name, const std::string &bytes)
    {
        const std::string path = (m_folder.path() + QLatin1Char('/') + QLatin1String(name)).toStdString();
        platform::writeFileAtomically(path, bytes);
        return path;
    }

private Q_SLOTS:
    void decodesAtTheSmallestScaleCoveringTheArea_data()
    {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QSize>("area");
        QTest::addColumn<QSize>("decoded");
        QTest::newRow("no area: full size") << QSize(654, 850) << QSize() << QSize(654, 850);
        QTest::newRow("twice the area: 4/8") << QSize(654, 850) << previewArea << QSize(327, 425);
        QTest::newRow("eight times: 1/8") << QSize(2616, 3400) << previewArea << QSize(327, 425);
        QTest::newRow("1/8 falls short: 2/8") << QSize(2400, 3200) << previewArea << QSize(600, 800);
        QTest::newRow("3000 x 4000: 1/8, rounded up") << QSize(3000, 4000) << previewArea << QSize(375, 500);
        QTest::newRow("wide: the height decides") << QSize(1308, 850) << previewArea << QSize(654, 425);
        QTest::newRow("smaller than the area: full size") << QSize(200, 300) << previewArea << QSize(200, 300);
        QTest::newRow("shorter than the area: full size") << QSize(1600, 300) << previewArea << QSize(1600, 300);
    }

    void decodesAtTheSmallestScaleCoveringTheArea()
    {
        QFETCH(QSize, picture);
        QFETCH(QSize, area);
        QFETCH(QSize, decoded);
        const JpegPicture result = decodeJpeg(encodeJpeg(quarteredPicture(picture), JpegKind::Baseline), area);
        QVERIFY2(result.failure.empty(), result.failure.c_str());
        QCOMPARE(result.image.size(), decoded);
        verifyQuartersFill(result.image, false);
    }

    void decodesEveryKind_data()
    {
        QTest::addColumn<int>("kind");
        QTest::newRow("baseline") << int(JpegKind::Baseline);
        QTest::newRow("progressive") << int(JpegKind::Progressive);
        QTest::newRow("greyscale") << int(JpegKind::Greyscale);
    }

    void decodesEveryKind()
    {
        QFETCH(int, kind);
        const auto jpegKind = static_cast<JpegKind>(kind);
        for (const QSize area : {QSize(), QSize(40, 30)}) {
            const JpegPicture result = decodeJpeg(encodeJpeg(quarteredPicture({160, 120}), jpegKind), area);
            QVERIFY2(result.failure.empty(), result.failure.c_str());
            QCOMPARE(result.image.size(), area.isEmpty() ? QSize(160, 120) : QSize(40, 30));
            verifyQuartersFill(result.image.convertToFormat(QImage::Format_RGB32), jpegKind == JpegKind::Greyscale);
        }
    }

    void refusesDamagedAndAbsurdFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("failure");
        const std::string good = encodeJpeg(quarteredPicture({320, 240}), JpegKind::Baseline);
        const std::string progressive = encodeJpeg(quarteredPicture({320, 240}), JpegKind::Progressive);
        auto bytes = [](const std::string &text) { return QByteArray(text.data(), qsizetype(text.size())); };
        std::string markerInside = good;
        markerInside.replace(good.size() * 6 / 10, 2, "\xFF\xD9");
        QTest::newRow("empty") << QByteArray() << QStringLiteral("Empty input file");
        QTest::newRow("no JPEG data") << QByteArray("%PDF-1.4 not a picture") << QStringLiteral("Not a JPEG file");
        QTest::newRow("truncated") << bytes(good.substr(0, good.size() * 6 / 10)) << QStringLiteral("Premature end");
        QTest::newRow("truncated progressive") << bytes(progressive.substr(0, progressive.size() * 6 / 10))
                                               << QStringLiteral("Premature end");
        QTest::newRow("end marker inside the data") << bytes(markerInside) << QStringLiteral("Corrupt JPEG data");
        QTest::newRow("60000 x 60000 announced") << bytes(withAnnouncedSize(good, 60000, 60000))
                                                 << QStringLiteral("too large");
        QTest::newRow("progressive, 60000 x 60000") << bytes(withAnnouncedSize(progressive, 60000, 60000))
                                                    << QStringLiteral("too large");
        QTest::newRow("just over the bound") << bytes(withAnnouncedSize(good, 10000, 5001)) << QStringLiteral("too large");
        // Within the bound the header is believed; the missing data ends the decode.
        QTest::newRow("at the bound, data missing") << bytes(withAnnouncedSize(good, 10000, 5000))
                                                    << QStringLiteral("Corrupt JPEG data");
    }

    void refusesDamagedAndAbsurdFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, failure);
        for (const QSize area : {QSize(), previewArea}) {
            const JpegPicture result = decodeJpeg(std::string_view(bytes.constData(), size_t(bytes.size())), area);
            QVERIFY(result.image.isNull());
            QVERIFY2(QString::fromStdString(result.failure).contains(failure), result.failure.c_str());
        }
    }

    void previewFillsTheAreaWithThePicture_data()
    {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<int>("kind");
        QTest::newRow("small, enlarged") << QSize(200, 300) << int(JpegKind::Baseline);
        QTest::newRow("twice the area, halved") << QSize(654, 850) << int(JpegKind::Progressive);
        QTest::newRow("large, reduced") << QSize(3000, 4000) << int(JpegKind::Baseline);
        QTest::newRow("another shape, distorted") << QSize(400, 300) << int(JpegKind::Baseline);
        QTest::newRow("greyscale, distorted") << QSize(600, 200) << int(JpegKind::Greyscale);
    }

    void previewFillsTheAreaWithThePicture()
    {
        QFETCH(QSize, picture);
        QFETCH(int, kind);
        const auto jpegKind = static_cast<JpegKind>(kind);
        const std::string path = file("picture.jpg", encodeJpeg(quarteredPicture(picture), jpegKind));
        // What was shown before (here the notice) is replaced wholesale.
        QImage preview;
        QVERIFY(!loadPreview(preview, std::nullopt, previewArea, noticeFont(windowFont())));
        QVERIFY(loadPreview(preview, path, previewArea, noticeFont(windowFont())));
        QCOMPARE(preview.size(), previewArea);
        verifyQuartersFill(preview, jpegKind == JpegKind::Greyscale);
    }

    void noticeWhenThereIsNoPictureToShow_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // empty: no file at all
        const std::string good = encodeJpeg(quarteredPicture({320, 240}), JpegKind::Baseline);
        QTest::newRow("missing file") << QByteArray();
        QTest::newRow("no JPEG data") << QByteArray("not a picture");
        QTest::newRow("truncated") << QByteArray(good.data(), qsizetype(good.size() / 2));
        const std::string absurd = withAnnouncedSize(good, 60000, 60000);
        QTest::newRow("absurd size") << QByteArray(absurd.data(), qsizetype(absurd.size()));
    }

    void noticeWhenThereIsNoPictureToShow()
    {
        QFETCH(QByteArray, bytes);
        std::string path = (m_folder.path() + QStringLiteral("/missing.jpg")).toStdString();
        if (!bytes.isEmpty())
            path = file("bad.jpg", bytes.toStdString());
        QImage preview = quarteredPicture(previewArea);
        QVERIFY(!loadPreview(preview, path, previewArea, noticeFont(windowFont())));
        verifyNotice(preview, previewArea);
    }

    void noticeWithoutAFileToRead()
    {
        QImage preview;
        QVERIFY(!loadPreview(preview, std::nullopt, previewArea, noticeFont(windowFont())));
        verifyNotice(preview, previewArea);
        // Another area size centres the text in it.
        QVERIFY(!loadPreview(preview, std::nullopt, QSize(500, 200), noticeFont(windowFont())));
        verifyNotice(preview, QSize(500, 200));
    }
};

QTEST_MAIN(PreviewTest)
#include "preview_test.moc"
