#pragma once

#include "coding/appdirectory.h"

#include <QPixmap>
#include <QString>
#include <QWidget>

#include <array>

namespace widgets {

// The pictures compiled into the program, written into the application directory
// at start-up and read from there by the windows: 101.jpg the background of the
// windows, 102.jpg the face of their command buttons, 103.jpg the face of disabled
// command buttons (a GIF picture under a .jpg name).
inline constexpr std::array<qint16, 3> kPictureIds{101, 102, 103};
inline const QString kPictureType = QStringLiteral("JPG");

// "101.jpg" for 101.
QString pictureFileName(qint16 id);

// The compiled-in resource of this id and type (":/JPG/101").
QString resourcePath(qint16 id, const QString &type);

// Writes the bytes of the resource (id, type) to fileName in the application
// directory, replacing a file of that name whole. False when the resource is
// missing or the file cannot be written; it reports nothing itself.
bool ExtractResourceFile(const coding::AppDirectory &dir, qint16 id, const QString &type,
                         const QString &fileName);

// A picture file read by its content, whatever its name says; null when the
// file is missing or is not a picture.
QPixmap loadPicture(const QString &path);

// picture scaled to fill size and cut to its proportions, from the middle: how a
// window's background covers the window.
QPixmap coverPicture(const QPixmap &picture, QSize size);

// A window's background picture, covering the window, scaled once for each size.
class Background {
public:
    Background &operator=(QPixmap picture) {
        m_picture = std::move(picture);
        m_scaled = QPixmap();
        return *this;
    }
    bool isNull() const { return m_picture.isNull(); }
    // Paints it over the whole window; false, painting nothing, without a picture.
    bool paint(QWidget &window);

private:
    QPixmap m_picture, m_scaled;
};

} // namespace widgets
