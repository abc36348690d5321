#pragma once

#include "chmfile.h"

#include <QMainWindow>

#include <memory>

class QAction;
class QTreeWidget;
class QTreeWidgetItem;

namespace app {

class ChmBrowser;

// The help window: the pages of a compiled help file with its contents on the
// left, back, forward and home. It opens at the file's default topic.
class HelpViewer : public QMainWindow {
    Q_OBJECT
public:
    // The help file when it can be shown: it opens, names a default topic and
    // that page can be read. Nothing when it is missing or damaged.
    static std::unique_ptr<ChmFile> openHelpFile(const QString &path);

    explicit HelpViewer(QWidget *parent = nullptr);
    ~HelpViewer() override;

    // Shows this file (taking it over) at the page ("test.html"), or at its
    // default topic when no page is given or the file does not hold it.
    void showFile(std::unique_ptr<ChmFile> file, const QString &page = {});

    ChmBrowser *browser() const { return m_browser; }
    QTreeWidget *contents() const { return m_contents; }

private:
    void fillContents();
    void contentsClicked(QTreeWidgetItem *item);

    std::unique_ptr<ChmFile> m_file;
    ChmBrowser *m_browser;
    QTreeWidget *m_contents;
    QAction *m_back;
    QAction *m_forward;
};

} // namespace app
