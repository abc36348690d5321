#pragma once

#include "coding/services.h"

namespace widgets {

// The services of a real run: Qt's message box, file and colour dialogs and the
// system beep (the clock is coding::SystemClock).
class QtMessages : public coding::MessageService {
public:
    coding::MsgAnswer show(const QString &text, const QString &title, coding::MsgButtons buttons,
                           coding::MsgIcon icon) override;
};

class QtFiles : public coding::FileDialogService {
public:
    QString getOpenFileName(const QString &caption, const QString &filter,
                            const QString &dir) override;
    QString getSaveFileName(const QString &caption, const QString &filter, const QString &dir,
                            const QString &defaultSuffix, QString *selectedFilter) override;
};

// The suffix of a file filter's first pattern: "纯文本(*.txt)" gives "txt"; empty
// when it has none ("所有文件(*)").
QString filterSuffix(const QString &filter);

class QtColors : public coding::ColorDialogService {
public:
    std::optional<QColor> getColor(const QColor &initial) override;
};

class QtBeep : public coding::BeepService {
public:
    void beep() override;
};

} // namespace widgets
