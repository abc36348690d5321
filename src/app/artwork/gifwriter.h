#pragma once

#include <QByteArray>
#include <QImage>

namespace artwork {

// Encodes an 8-bit indexed image (QImage::Format_Indexed8 or Format_Grayscale8)
// as a GIF89a file: one image with a 256-entry global colour table, LZW
// compressed. Returns an empty array for any other format or an empty image.
QByteArray encodeGif89a(const QImage &image);

} // namespace artwork
