#pragma once

#include "Host.h"

#include <QStringList>
#include <vector>

// A host that records what an operation asked of it: the busy pointer switches in order and
// the texts it wanted shown.
class RecordingHost : public gyrodex::Host {
public:
    std::vector<bool> busy;
    QStringList messages;

    void setBusy(bool on) override { busy.push_back(on); }
    void showMessage(const QString& text) override { messages << text; }
};
