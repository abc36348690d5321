#include "chmbrowser.h"

#include "chmfile.h"

#include <QRegularExpression>
#include <QStringDecoder>
#include <QTextDocument>

namespace app {

ChmBrowser::ChmBrowser(QWidget *parent) : QTextBrowser(parent) {
    setOpenLinks(false);
    setOpenExternalLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, &ChmBrowser::followLink);
}

void ChmBrowser::showTopic(const QString &path) {
    QUrl url;
    url.setScheme(kScheme);
    url.setPath(path.startsWith(u'/') ? path : u'/' + path);
    setSource(url, QTextDocument::HtmlResource);
}

void ChmBrowser::followLink(const QUrl &link) {
    const QUrl target = link.isRelative() ? source().resolved(link) : link;
    if (target.scheme() != kScheme)
        return; // the help file's pages only
    setSource(target, QTextDocument::HtmlResource);
}

QVariant ChmBrowser::loadResource(int type, const QUrl &name) {
    if (!m_file)
        return {};
    const QUrl url = name.isRelative() ? source().resolved(name) : name;
    if (url.scheme() != kScheme)
        return {};
    const auto bytes = m_file->read(url.path());
    if (!bytes)
        return {};
    switch (type) {
    case QTextDocument::HtmlResource:
        return decodeHtml(*bytes);
    case QTextDocument::StyleSheetResource:
    case QTextDocument::MarkdownResource:
        return QString::fromUtf8(*bytes);
    default:
        return *bytes; // pictures: the document decodes them
    }
}

QString ChmBrowser::decodeHtml(const QByteArray &bytes) {
    static const QRegularExpression charset(
        QStringLiteral(R"(charset\s*=\s*["']?([A-Za-z0-9_\-]+))"),
        QRegularExpression::CaseInsensitiveOption);
    const QString head = QString::fromLatin1(bytes.left(2048));
    const QString name = charset.match(head).captured(1).toLower();
    const bool chinese = name == QLatin1String("gb2312") || name == QLatin1String("gbk") ||
                         name == QLatin1String("gb18030") || name == QLatin1String("cp936");
    if (!chinese) {
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString text = utf8.decode(bytes);
        if (!utf8.hasError() || name == QLatin1String("utf-8"))
            return text;
    }
    QStringDecoder gb("GB18030");
    if (gb.isValid())
        return gb.decode(bytes);
    return QString::fromLatin1(bytes);
}

} // namespace app
