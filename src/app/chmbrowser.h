#pragma once

#include <QTextBrowser>

namespace app {

class ChmFile;

// A text browser whose pages, pictures and style sheets all come from one
// compiled help file: addresses are "chm:/<path inside the file>", relative links
// resolve against the page shown. Links that lead out of the file are not
// followed; nothing is read from the disk or the network.
class ChmBrowser : public QTextBrowser {
    Q_OBJECT
public:
    explicit ChmBrowser(QWidget *parent = nullptr);

    // The file to read from (not owned; null shows nothing).
    void setFile(const ChmFile *file) { m_file = file; }
    // Shows the page at this path inside the file ("/index.html").
    void showTopic(const QString &path);

    QVariant loadResource(int type, const QUrl &name) override;

    // The text of an HTML page: the character set its meta tag names (UTF-8 or a
    // Chinese code page), else UTF-8 when valid, else GB18030.
    static QString decodeHtml(const QByteArray &bytes);

    static inline const QString kScheme = QStringLiteral("chm");

private:
    void followLink(const QUrl &link);

    const ChmFile *m_file = nullptr;
};

} // namespace app
