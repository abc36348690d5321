#include "frmmain.h"

#include <QLabel>

namespace app {

frmMain::frmMain(coding::AppState &state, QWidget *parent) : QMainWindow(parent), m_state(state) {
    setWindowTitle(QStringLiteral("Qorvan输入法第四版分词教学系统"));
    auto *welcome = new QLabel(QStringLiteral("欢迎使用Qorvan输入法第四版分词教学系统"), this);
    welcome->setAlignment(Qt::AlignCenter);
    setCentralWidget(welcome);
    resize(640, 480);
}

} // namespace app
