#pragma once

#include <QByteArray>
#include <QtGlobal>

// The ICMP echo messages of the network probe, kept apart from the sockets so that the packet
// format and the reply matching can be tested without sending anything.
namespace tarnex::IcmpEcho {

constexpr quint8 EchoReplyType = 0;
constexpr quint8 EchoRequestType = 8;
constexpr int HeaderSize = 8;

// The Internet checksum (RFC 1071) of the bytes.
quint16 checksum(const QByteArray& bytes);

// An echo request with the identifier, sequence number and payload, checksum filled in.
QByteArray request(quint16 identifier, quint16 sequence, const QByteArray& payload);

// Whether a received packet is the echo reply to the request with this sequence number.
// withIpHeader: the packet starts with the IPv4 header (raw sockets). matchIdentifier: the
// identifier must be ours too (raw sockets; a datagram socket only receives its own replies
// and the kernel puts its own identifier into the request).
bool isReplyTo(const QByteArray& packet, bool withIpHeader, bool matchIdentifier, quint16 identifier,
               quint16 sequence);

// Waits on a socket for the matching reply at most timeoutMs milliseconds, reading and
// dropping whatever else arrives. False on time-out or on any socket error. Not on Windows.
bool awaitReply(int socket, bool withIpHeader, bool matchIdentifier, quint16 identifier, quint16 sequence,
                int timeoutMs);

} // namespace tarnex::IcmpEcho
