#include "NetworkProbe.h"

#include "IcmpEcho.h"

#include <QtEndian>

#include <utility>

#ifdef Q_OS_WIN
// clang-format off
#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>
#include <icmpapi.h>
// clang-format on
#else
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace tarnex {
namespace {

NetworkProbe*& installedProbe()
{
    static NetworkProbe* probe = nullptr;
    return probe;
}

// The payload Windows' own ping sends.
const QByteArray& echoPayload()
{
    static const QByteArray payload("abcdefghijklmnopqrstuvwabcdefghi");
    return payload;
}

#ifndef Q_OS_WIN
class SocketHandle
{
public:
    explicit SocketHandle(int fd) : m_fd(fd) {}
    ~SocketHandle()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    SocketHandle(const SocketHandle&) = delete;
    SocketHandle& operator=(const SocketHandle&) = delete;
    int fd() const { return m_fd; }

private:
    int m_fd;
};
#endif

} // namespace

NetworkProbe& NetworkProbe::instance()
{
    if (installedProbe() != nullptr)
        return *installedProbe();
    static IcmpProbe real;
    return real;
}

void NetworkProbe::setInstanceForTesting(NetworkProbe* probe)
{
    installedProbe() = probe;
}

QHostAddress IcmpProbe::defaultTarget()
{
    // A public DNS resolver of mainland China that answers echo requests around the clock.
    return QHostAddress(QStringLiteral("223.5.5.5"));
}

IcmpProbe::IcmpProbe(QHostAddress target, int timeoutMs, int attempts)
    : m_target(std::move(target)), m_timeoutMs(timeoutMs), m_attempts(attempts)
{
}

bool IcmpProbe::isReachable()
{
    for (int i = 0; i < m_attempts; ++i) {
        if (echoOnce())
            return true;
    }
    return false;
}

bool IcmpProbe::echoOnce()
{
    ++m_sent;
    ++m_sequence;
    try {
        return exchange(m_sequence, m_timeoutMs);
    } catch (...) {
        return false;
    }
}

#ifdef Q_OS_WIN
bool IcmpProbe::exchange(quint16 /*sequence*/, int timeoutMs)
{
    bool isIpv4 = false;
    const quint32 address = m_target.toIPv4Address(&isIpv4);
    if (!isIpv4)
        return false;
    HANDLE handle = IcmpCreateFile();
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    IP_OPTION_INFORMATION options{};
    options.Ttl = TimeToLive;
    QByteArray payload = echoPayload();
    QByteArray reply(int(sizeof(ICMP_ECHO_REPLY)) + payload.size() + 8, '\0');
    const DWORD replies = IcmpSendEcho(handle, qToBigEndian(address), payload.data(), WORD(payload.size()),
                                       &options, reply.data(), DWORD(reply.size()), DWORD(timeoutMs));
    IcmpCloseHandle(handle);
    return replies > 0 && reinterpret_cast<const ICMP_ECHO_REPLY*>(reply.constData())->Status == IP_SUCCESS;
}
#else
bool IcmpProbe::exchange(quint16 sequence, int timeoutMs)
{
    bool isIpv4 = false;
    const quint32 address = m_target.toIPv4Address(&isIpv4);
    if (!isIpv4)
        return false;

    // The datagram socket needs no privilege where net.ipv4.ping_group_range admits the user;
    // the raw socket needs CAP_NET_RAW.
    bool raw = false;
    int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMP);
    if (fd < 0) {
        fd = ::socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP);
        raw = true;
    }
    const SocketHandle socket(fd);
    if (socket.fd() < 0)
        return false;

    const int ttl = TimeToLive;
    if (::setsockopt(socket.fd(), IPPROTO_IP, IP_TTL, &ttl, sizeof ttl) != 0)
        return false;

    // On a datagram socket the kernel puts the socket's own identifier into the request.
    const quint16 identifier = quint16(::getpid());
    const QByteArray packet = IcmpEcho::request(identifier, sequence, echoPayload());
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = qToBigEndian(address);
    const ssize_t sent = ::sendto(socket.fd(), packet.constData(), size_t(packet.size()), 0,
                                  reinterpret_cast<const sockaddr*>(&to), sizeof to);
    if (sent != ssize_t(packet.size()))
        return false;
    return IcmpEcho::awaitReply(socket.fd(), raw, raw, identifier, sequence, timeoutMs);
}
#endif

} // namespace tarnex
