#pragma once

#include "coding/appstate.h"

#include <QMainWindow>

namespace app {

// The main window: the starting point from which the learner opens the test
// window, the segmentation editor, the help and the About box.
class frmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit frmMain(coding::AppState &state, QWidget *parent = nullptr);

private:
    coding::AppState &m_state;
};

} // namespace app
