#pragma once
// Reachability probe: can a TCP connection be opened to host:port?
#include <QString>

namespace ui {

class INetProbe {
public:
    virtual ~INetProbe() = default;
    // Blocks the caller (no events processed) for at most timeoutMs.
    virtual bool CanConnect(const QString &host, quint16 port, int timeoutMs) = 0;
};

} // namespace ui
