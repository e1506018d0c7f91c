#include "gui/covers/PictureConvert.h"

#include <QImageReader>
#include <QMimeData>

#include "covers/Thumbnail.h"

QImage JpegToImage(std::string_view jpeg) {
    TRgbImage picture;
    if (!DecodeThumbnail(jpeg, picture)) return {};
    QImage image(picture.Pixels.data(), picture.Width, picture.Height, picture.Width * 3,
                 QImage::Format_RGB888);
    return image.copy();  // own the pixels
}

std::string ImageToJpeg(const QImage& image, int quality) {
    if (image.isNull()) return {};
    // Transparent parts go on white, as they look on a page.
    QImage flat(image.size(), QImage::Format_RGB888);
    flat.fill(Qt::white);
    if (image.hasAlphaChannel()) {
        QImage rgba = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        for (int y = 0; y < rgba.height(); ++y)
            for (int x = 0; x < rgba.width(); ++x) {
                const QRgb p = rgba.pixel(x, y);
                const int a = qAlpha(p);
                flat.setPixel(x, y,
                              qRgb(qRed(p) + 255 - a, qGreen(p) + 255 - a, qBlue(p) + 255 - a));
            }
    } else {
        flat = image.convertToFormat(QImage::Format_RGB888);
    }
    TRgbImage picture;
    picture.Width = flat.width();
    picture.Height = flat.height();
    picture.Pixels.resize(size_t(picture.Width) * size_t(picture.Height) * 3);
    for (int y = 0; y < flat.height(); ++y)
        std::copy_n(flat.constScanLine(y), picture.Width * 3,
                    picture.Pixels.begin() + ptrdiff_t(y) * picture.Width * 3);
    return EncodeJpeg(picture, quality);
}

std::string PictureFileToJpeg(const std::string& path) {
    QImageReader reader(QString::fromStdString(path));
    reader.setAutoTransform(true);
    return ImageToJpeg(reader.read(), kConvertedPictureJpegQuality);
}

std::string ClipboardPictureAsJpeg(const QMimeData* data) {
    if (!data) return {};
    for (const char* type : {"image/jpeg", "image/jpg"}) {
        const QByteArray bytes = data->data(type);
        if (!bytes.isEmpty() &&
            IsReadableJpeg(std::string_view(bytes.constData(), size_t(bytes.size()))))
            return bytes.toStdString();
    }
    if (!data->hasImage()) return {};
    return ImageToJpeg(qvariant_cast<QImage>(data->imageData()), kConvertedPictureJpegQuality);
}
