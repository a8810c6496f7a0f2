#include "IcmpEcho.h"

#include <QtEndian>

#include <chrono>

#ifndef Q_OS_WIN
#include <cerrno>
#include <poll.h>
#include <sys/socket.h>
#endif

namespace tarnex::IcmpEcho {

quint16 checksum(const QByteArray& bytes)
{
    quint32 sum = 0;
    const auto* data = reinterpret_cast<const uchar*>(bytes.constData());
    const qsizetype size = bytes.size();
    for (qsizetype i = 0; i + 1 < size; i += 2)
        sum += quint32(data[i] << 8 | data[i + 1]);
    if (size % 2 != 0)
        sum += quint32(data[size - 1] << 8);
    while (sum >> 16)
        sum = (sum & 0xFFFF) + (sum >> 16);
    return quint16(~sum);
}

QByteArray request(quint16 identifier, quint16 sequence, const QByteArray& payload)
{
    QByteArray packet(HeaderSize, '\0');
    auto* data = reinterpret_cast<uchar*>(packet.data());
    data[0] = EchoRequestType;
    data[1] = 0;
    qToBigEndian(identifier, data + 4);
    qToBigEndian(sequence, data + 6);
    packet.append(payload);
    qToBigEndian(checksum(packet), reinterpret_cast<uchar*>(packet.data()) + 2);
    return packet;
}

bool isReplyTo(const QByteArray& packet, bool withIpHeader, bool matchIdentifier, quint16 identifier,
               quint16 sequence)
{
    const auto* data = reinterpret_cast<const uchar*>(packet.constData());
    qsizetype offset = 0;
    if (withIpHeader) {
        if (packet.isEmpty() || (data[0] >> 4) != 4)
            return false;
        offset = qsizetype(data[0] & 0x0F) * 4;
        if (offset < 20)
            return false;
    }
    if (packet.size() - offset < HeaderSize)
        return false;
    const uchar* icmp = data + offset;
    if (icmp[0] != EchoReplyType || icmp[1] != 0)
        return false;
    if (matchIdentifier && qFromBigEndian<quint16>(icmp + 4) != identifier)
        return false;
    return qFromBigEndian<quint16>(icmp + 6) == sequence;
}

#ifndef Q_OS_WIN
bool awaitReply(int socket, bool withIpHeader, bool matchIdentifier, quint16 identifier, quint16 sequence,
                int timeoutMs)
{
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    QByteArray buffer(1500, '\0');
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0)
            return false;
        pollfd entry{socket, POLLIN, 0};
        const int ready = ::poll(&entry, 1, int(left));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return false;
        if ((entry.revents & POLLIN) == 0)
            return false;
        const ssize_t got = ::recv(socket, buffer.data(), size_t(buffer.size()), MSG_DONTWAIT);
        if (got < 0) {
            if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)
                continue;
            return false; // an ICMP error for our request (unreachable host, no route)
        }
        if (isReplyTo(buffer.left(got), withIpHeader, matchIdentifier, identifier, sequence))
            return true;
    }
}
#endif

} // namespace tarnex::IcmpEcho
