#pragma once
// A messenger that keeps every message as "caption|text", for window tests.
#include "platform/messages.h"

#include <QStringList>

#include <vector>

namespace browser::testing {

class RecordingMessenger final : public platform::Messenger {
public:
    void show(const QString &caption, const QString &text, platform::MessageIcon icon) override
    {
        shown << caption + QLatin1Char('|') + text;
        icons.push_back(icon);
    }
    QStringList shown;
    std::vector<platform::MessageIcon> icons;
};

} // namespace browser::testing
