#include "pictures.h"

#include <QPainter>

#include <QFile>
#include <QImageReader>
#include <QSaveFile>

namespace widgets {

QString pictureFileName(qint16 id) {
    return QString::number(id) + QStringLiteral(".jpg");
}

QString resourcePath(qint16 id, const QString &type) {
    return QStringLiteral(":/%1/%2").arg(type).arg(id);
}

bool ExtractResourceFile(const coding::AppDirectory &dir, qint16 id, const QString &type,
                         const QString &fileName) {
    QFile resource(resourcePath(id, type));
    if (!resource.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = resource.readAll();
    // Written whole or not at all: a file of an earlier run is replaced from its
    // first byte to its last, never left with a tail of older bytes.
    QSaveFile file(dir.filePath(fileName));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

QPixmap loadPicture(const QString &path) {
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    return QPixmap::fromImage(reader.read());
}

QPixmap coverPicture(const QPixmap &picture, QSize size) {
    const QPixmap cover =
        picture.scaled(size, Qt::KeepAspectRatioByExpanding, Qt::SmoothTransformation);
    return cover.copy((cover.width() - size.width()) / 2, (cover.height() - size.height()) / 2,
                      size.width(), size.height());
}

bool Background::paint(QWidget &window) {
    if (m_picture.isNull())
        return false;
    if (m_scaled.size() != window.size())
        m_scaled = coverPicture(m_picture, window.size());
    QPainter painter(&window);
    painter.drawPixmap(0, 0, m_scaled);
    return true;
}

} // namespace widgets
