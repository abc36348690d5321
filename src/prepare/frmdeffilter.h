#pragma once

#include "filterfiles.h"

#include "coding/appstate.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace prepare {

// "自定义过滤符号": edits the filter list "filter.dat" directly. Every addition and
// deletion is written at once; "取消(&C)" undoes the whole visit by restoring the
// backup "OldFilter.dat" taken when the dialog opened. OK, cancel and closing the
// window delete the backup.
class frmDefFilter : public QDialog {
    Q_OBJECT
public:
    explicit frmDefFilter(coding::AppState &state, QWidget *parent = nullptr);
    ~frmDefFilter() override;

    void done(int result) override;

protected:
    void reject() override; // Esc: "取消(&C)"
    void closeEvent(QCloseEvent *event) override;

private:
    void cmdAddFilter_Click();
    void cmdDelFilter_Click();
    void cmdCancel_Click();
    void inputChanged();
    void showList(const FilterList &list);
    void showExclamation(const QString &text);

    coding::AppState &m_state;
    FilterFiles m_files;
    bool m_unloaded = false;

    QLabel *Label1;
    QListWidget *listofFilters;
    QLabel *Label2;
    QLineEdit *txtSymbol;
    QLabel *Label3;
    QLineEdit *txtSymbolSpe;
    QPushButton *cmdAddFilter;
    QPushButton *cmdDelFilter;
    QPushButton *cmdOK;
    QPushButton *cmdCancel;
};

} // namespace prepare
