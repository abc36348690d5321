#pragma once

// A message service for the integration programs: every message goes to stdout
// as one line, its line breaks shown as \r and \n.

#include "coding/services.h"

#include <cstdio>

class PrintMessages : public coding::MessageService {
public:
    int count = 0;
    coding::MsgAnswer show(const QString &text, const QString &title, coding::MsgButtons,
                           coding::MsgIcon icon) override {
        ++count;
        QString shown = text;
        shown.replace(u'\r', QLatin1String("\\r")).replace(u'\n', QLatin1String("\\n"));
        std::printf("message: %s | %s | icon %d\n", qPrintable(shown), qPrintable(title),
                    static_cast<int>(icon));
        std::fflush(stdout);
        return coding::MsgAnswer::Ok;
    }
};
