#pragma once
// Pictures between Qt and the model: JPEG bytes shown as images, and any
// picture Qt's image readers understand (BMP, GIF, TIFF, PNG, the clipboard)
// turned into JPEG bytes at quality 90.  A JPEG is always passed on as it is.
#include <QImage>

#include <string>
#include <string_view>

class QMimeData;

// The image of JPEG bytes (a null image when they are empty or unreadable).
QImage JpegToImage(std::string_view jpeg);
// The image as JPEG bytes at the quality; "" for a null image.
std::string ImageToJpeg(const QImage& image, int quality);
// A picture file that is not a JPEG, read by Qt and encoded at quality 90;
// "" when Qt cannot read it.
std::string PictureFileToJpeg(const std::string& path);
// The clipboard's picture: its JPEG data unchanged when it offers any, else
// its image encoded at quality 90; "" when it holds no picture.
std::string ClipboardPictureAsJpeg(const QMimeData* data);
