#include "helpviewer.h"

#include "chmbrowser.h"

#include <QAction>
#include <QHeaderView>
#include <QRegularExpression>
#include <QSplitter>
#include <QToolBar>
#include <QTreeWidget>

namespace app {

namespace {

constexpr int kPathRole = Qt::UserRole;

// The entries of a contents file (HTML Help's sitemap format): nested lists of
// objects with a "Name" and a "Local" parameter.
struct ContentsEntry {
    int depth;
    QString name;
    QString local;
};

QList<ContentsEntry> parseContents(const QString &text) {
    static const QRegularExpression token(
        QStringLiteral(
            R"(<\s*(?<ul>/?)\s*ul\b[^>]*>|<\s*object\b[^>]*>(?<body>.*?)<\s*/\s*object\s*>)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression param(
        QStringLiteral(R"re(<\s*param\s+name\s*=\s*"([^"]*)"\s+value\s*=\s*"([^"]*)")re"),
        QRegularExpression::CaseInsensitiveOption);
    QList<ContentsEntry> entries;
    int depth = 0;
    for (auto it = token.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        if (m.capturedStart(QStringLiteral("ul")) >= 0) {
            depth = m.captured(QStringLiteral("ul")).isEmpty() ? depth + 1 : qMax(depth - 1, 0);
            continue;
        }
        ContentsEntry entry{qMax(depth - 1, 0), {}, {}};
        for (auto p = param.globalMatch(m.captured(QStringLiteral("body"))); p.hasNext();) {
            const auto pm = p.next();
            if (pm.captured(1).compare(QLatin1String("Name"), Qt::CaseInsensitive) == 0)
                entry.name = pm.captured(2);
            else if (pm.captured(1).compare(QLatin1String("Local"), Qt::CaseInsensitive) == 0)
                entry.local = pm.captured(2);
        }
        if (!entry.name.isEmpty())
            entries << entry;
    }
    return entries;
}

} // namespace

std::unique_ptr<ChmFile> HelpViewer::openHelpFile(const QString &path) {
    auto file = ChmFile::open(path);
    if (!file || file->defaultTopic().isEmpty() || !file->read(file->defaultTopic()))
        return nullptr;
    return file;
}

HelpViewer::HelpViewer(QWidget *parent) : QMainWindow(parent) {
    setWindowFlag(Qt::Window);
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("HelpViewer"));

    auto *splitter = new QSplitter(this);
    m_contents = new QTreeWidget(splitter);
    m_contents->setObjectName(QStringLiteral("contents"));
    m_contents->header()->hide();
    m_browser = new ChmBrowser(splitter);
    m_browser->setObjectName(QStringLiteral("browser"));
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({200, 560});
    setCentralWidget(splitter);

    auto *bar = addToolBar(QStringLiteral("导航"));
    bar->setMovable(false);
    m_back = bar->addAction(QStringLiteral("后退"), m_browser, &QTextBrowser::backward);
    m_forward = bar->addAction(QStringLiteral("前进"), m_browser, &QTextBrowser::forward);
    bar->addAction(QStringLiteral("主页"), this, [this] {
        if (m_file)
            m_browser->showTopic(m_file->defaultTopic());
    });
    m_back->setEnabled(false);
    m_forward->setEnabled(false);
    connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, m_forward, &QAction::setEnabled);
    connect(m_contents, &QTreeWidget::itemClicked, this, &HelpViewer::contentsClicked);

    resize(800, 600);
}

HelpViewer::~HelpViewer() {
    m_browser->setFile(nullptr);
}

void HelpViewer::showFile(std::unique_ptr<ChmFile> file, const QString &page) {
    m_browser->setFile(nullptr);
    m_file = std::move(file);
    m_browser->setFile(m_file.get());
    m_browser->clearHistory();
    setWindowTitle(m_file && !m_file->title().isEmpty() ? m_file->title() : QStringLiteral("帮助"));
    fillContents();
    if (m_file)
        m_browser->showTopic(!page.isEmpty() && m_file->contains(page) ? page
                                                                       : m_file->defaultTopic());
}

void HelpViewer::fillContents() {
    m_contents->clear();
    if (!m_file || m_file->contentsFile().isEmpty()) {
        m_contents->hide();
        return;
    }
    const auto bytes = m_file->read(m_file->contentsFile());
    const auto entries =
        bytes ? parseContents(ChmBrowser::decodeHtml(*bytes)) : QList<ContentsEntry>{};
    QList<QTreeWidgetItem *> parents;
    for (const auto &entry : entries) {
        while (parents.size() > entry.depth)
            parents.removeLast();
        auto *item = parents.isEmpty() ? new QTreeWidgetItem(m_contents)
                                       : new QTreeWidgetItem(parents.last());
        item->setText(0, entry.name);
        item->setData(0, kPathRole, entry.local);
        parents << item;
    }
    m_contents->expandAll();
    m_contents->setVisible(!entries.isEmpty());
}

void HelpViewer::contentsClicked(QTreeWidgetItem *item) {
    const QString local = item->data(0, kPathRole).toString();
    if (local.isEmpty())
        return;
    QUrl link(local);
    if (link.isRelative()) {
        QUrl base;
        base.setScheme(ChmBrowser::kScheme);
        base.setPath(QStringLiteral("/"));
        link = base.resolved(link);
    }
    if (link.scheme() == ChmBrowser::kScheme)
        m_browser->setSource(link, QTextDocument::HtmlResource);
}

} // namespace app
