#include "gifwriter.h"

#include <QHash>

#include <array>

namespace artwork {

namespace {

// Packs variable-length codes least significant bit first into GIF data
// sub-blocks of at most 255 bytes.
class CodeWriter {
public:
    explicit CodeWriter(QByteArray &out) : m_out(out) {}

    void write(quint32 code, int bits) {
        m_bits |= code << m_bitCount;
        m_bitCount += bits;
        while (m_bitCount >= 8) {
            put(static_cast<char>(m_bits & 0xff));
            m_bits >>= 8;
            m_bitCount -= 8;
        }
    }

    void finish() {
        if (m_bitCount > 0)
            put(static_cast<char>(m_bits & 0xff));
        m_bits = 0;
        m_bitCount = 0;
        flushBlock();
        m_out.append('\0'); // block terminator
    }

private:
    void put(char byte) {
        m_block.append(byte);
        if (m_block.size() == 255)
            flushBlock();
    }
    void flushBlock() {
        if (m_block.isEmpty())
            return;
        m_out.append(static_cast<char>(m_block.size()));
        m_out.append(m_block);
        m_block.clear();
    }

    QByteArray &m_out;
    QByteArray m_block;
    quint32 m_bits = 0;
    int m_bitCount = 0;
};

void appendLe16(QByteArray &out, int value) {
    out.append(static_cast<char>(value & 0xff));
    out.append(static_cast<char>((value >> 8) & 0xff));
}

} // namespace

QByteArray encodeGif89a(const QImage &image) {
    if (image.isNull() ||
        (image.format() != QImage::Format_Indexed8 && image.format() != QImage::Format_Grayscale8))
        return {};
    const int width = image.width();
    const int height = image.height();
    if (width > 0xffff || height > 0xffff)
        return {};

    std::array<QRgb, 256> palette{};
    if (image.format() == QImage::Format_Grayscale8) {
        for (int i = 0; i < 256; ++i)
            palette[i] = qRgb(i, i, i);
    } else {
        const auto table = image.colorTable();
        for (int i = 0; i < table.size() && i < 256; ++i)
            palette[i] = table[i];
    }

    QByteArray out("GIF89a");
    appendLe16(out, width);
    appendLe16(out, height);
    out.append(static_cast<char>(0xf7)); // global colour table of 256 entries, 8-bit colour
    out.append('\0');                    // background colour index
    out.append('\0');                    // no aspect ratio
    for (QRgb c : palette) {
        out.append(static_cast<char>(qRed(c)));
        out.append(static_cast<char>(qGreen(c)));
        out.append(static_cast<char>(qBlue(c)));
    }

    out.append(','); // image descriptor
    appendLe16(out, 0);
    appendLe16(out, 0);
    appendLe16(out, width);
    appendLe16(out, height);
    out.append('\0'); // no local colour table, not interlaced

    constexpr int minCodeSize = 8;
    constexpr quint32 clearCode = 1u << minCodeSize;
    constexpr quint32 endCode = clearCode + 1;
    out.append(static_cast<char>(minCodeSize));

    CodeWriter codes(out);
    QHash<quint32, quint32> table; // (prefix code << 8 | next byte) -> code
    int codeSize = minCodeSize + 1;
    quint32 lastCode = endCode; // the code most recently added
    codes.write(clearCode, codeSize);

    qint64 current = -1;
    for (int y = 0; y < height; ++y) {
        const uchar *line = image.constScanLine(y);
        for (int x = 0; x < width; ++x) {
            const quint32 pixel = line[x];
            if (current < 0) {
                current = pixel;
                continue;
            }
            const quint32 key = (static_cast<quint32>(current) << 8) | pixel;
            const auto found = table.constFind(key);
            if (found != table.constEnd()) {
                current = *found;
                continue;
            }
            codes.write(static_cast<quint32>(current), codeSize);
            table.insert(key, ++lastCode);
            if (lastCode >= (1u << codeSize))
                ++codeSize;
            if (lastCode == 4095) {
                codes.write(clearCode, codeSize);
                table.clear();
                codeSize = minCodeSize + 1;
                lastCode = endCode;
            }
            current = pixel;
        }
    }
    if (current >= 0)
        codes.write(static_cast<quint32>(current), codeSize);
    codes.write(endCode, codeSize);
    codes.finish();

    out.append(';'); // trailer
    return out;
}

} // namespace artwork
