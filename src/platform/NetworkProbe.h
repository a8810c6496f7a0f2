#pragma once

#include <QHostAddress>

#include <memory>

namespace tarnex {

// Decides at start-up whether the machine is online (the web panel is only built when it is).
class NetworkProbe
{
public:
    virtual ~NetworkProbe() = default;
    // Sends up to three ICMP echo requests (time-to-live 64, 10 ms reply time-out each) and
    // succeeds at the first reply. Any error counts as no reply; never throws.
    virtual bool isReachable() = 0;

    // The probe the program uses; tests install a fake. Ownership stays with the caller of set.
    static NetworkProbe& instance();
    static void setInstanceForTesting(NetworkProbe* probe);
    // The start-up probes before any window exists and installs its answer here, so the main
    // window reads it instead of probing a second time.
    static void setInstance(NetworkProbe* probe) { setInstanceForTesting(probe); }
};

// An answer already known: what an earlier probe found.
class KnownReachability : public NetworkProbe
{
public:
    explicit KnownReachability(bool reachable) : m_reachable(reachable) {}
    bool isReachable() override { return m_reachable; }

private:
    bool m_reachable;
};

// The real probe: ICMP datagram socket (unprivileged) or raw socket where allowed.
class IcmpProbe : public NetworkProbe
{
public:
    static constexpr int TimeToLive = 64;
    static constexpr int ReplyTimeoutMs = 10;
    static constexpr int Attempts = 3;

    // The fixed public address the program probes.
    static QHostAddress defaultTarget();

    explicit IcmpProbe(QHostAddress target = defaultTarget(), int timeoutMs = ReplyTimeoutMs,
                       int attempts = Attempts);
    bool isReachable() override;
    // One echo request and its reply; false on time-out or any error.
    bool echoOnce();
    // Echo requests tried so far, each attempt counted even when the socket refused it.
    int requestsSent() const { return m_sent; }
    QHostAddress target() const { return m_target; }

protected:
    // Sends one echo request with this sequence number and waits at most timeoutMs for its
    // reply. Tests replace it to drive the attempts without a network.
    virtual bool exchange(quint16 sequence, int timeoutMs);

private:
    QHostAddress m_target;
    int m_timeoutMs;
    int m_attempts;
    int m_sent = 0;
    quint16 m_sequence = 0;
};

} // namespace tarnex
