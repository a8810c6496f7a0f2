#include "platform/NetworkProbe.h"
#include "platform/IcmpEcho.h"

#include <QElapsedTimer>
#include <QtEndian>

#include <gtest/gtest.h>

#include <cstdio>
#include <netinet/in.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace tarnex {
namespace {

// An IcmpProbe whose exchanges follow a script instead of the network.
class ScriptedProbe : public IcmpProbe
{
public:
    explicit ScriptedProbe(QList<int> script, int attempts = Attempts)
        : IcmpProbe(QHostAddress(QStringLiteral("127.0.0.1")), ReplyTimeoutMs, attempts),
          m_script(std::move(script))
    {
    }

    QList<quint16> sequences;
    QList<int> timeouts;

protected:
    // 1: reply, 0: time-out, -1: throws
    bool exchange(quint16 sequence, int timeoutMs) override
    {
        sequences.append(sequence);
        timeouts.append(timeoutMs);
        const int step = m_script.isEmpty() ? 0 : m_script.takeFirst();
        if (step < 0)
            throw std::runtime_error("socket gone");
        return step == 1;
    }

private:
    QList<int> m_script;
};

TEST(IcmpProbeAttempts, ThreeRequestsOfTenMillisecondsWhenNothingAnswers)
{
    ScriptedProbe probe({0, 0, 0, 1});
    EXPECT_FALSE(probe.isReachable()) << "a fourth request is never sent";
    EXPECT_EQ(probe.requestsSent(), 3);
    EXPECT_EQ(probe.sequences, QList<quint16>({1, 2, 3}));
    EXPECT_EQ(probe.timeouts, QList<int>({10, 10, 10}));
}

TEST(IcmpProbeAttempts, StopsAtTheFirstReply)
{
    ScriptedProbe first({1});
    EXPECT_TRUE(first.isReachable());
    EXPECT_EQ(first.requestsSent(), 1);

    ScriptedProbe second({0, 1, 1});
    EXPECT_TRUE(second.isReachable());
    EXPECT_EQ(second.requestsSent(), 2);

    ScriptedProbe third({0, 0, 1});
    EXPECT_TRUE(third.isReachable());
    EXPECT_EQ(third.requestsSent(), 3);
}

TEST(IcmpProbeAttempts, AnErrorCountsAsNoReplyAndNeverEscapes)
{
    ScriptedProbe failing({-1, -1, -1});
    EXPECT_NO_THROW(EXPECT_FALSE(failing.isReachable()));
    EXPECT_EQ(failing.requestsSent(), 3);

    ScriptedProbe recovering({-1, 1});
    EXPECT_TRUE(recovering.isReachable());
    EXPECT_EQ(recovering.requestsSent(), 2);
}

TEST(IcmpProbeAttempts, SequenceNumbersGoOnAcrossProbesOfOneObject)
{
    ScriptedProbe probe({0, 1, 1});
    EXPECT_TRUE(probe.isReachable());
    EXPECT_TRUE(probe.isReachable());
    EXPECT_EQ(probe.sequences, QList<quint16>({1, 2, 3}));
    EXPECT_EQ(probe.requestsSent(), 3);
}

TEST(IcmpProbeAttempts, ZeroAttemptsSendNothing)
{
    ScriptedProbe probe({1}, 0);
    EXPECT_FALSE(probe.isReachable());
    EXPECT_EQ(probe.requestsSent(), 0);
}

TEST(IcmpProbeSettings, ProgramSettingsAndPublicTarget)
{
    EXPECT_EQ(IcmpProbe::TimeToLive, 64);
    EXPECT_EQ(IcmpProbe::ReplyTimeoutMs, 10);
    EXPECT_EQ(IcmpProbe::Attempts, 3);

    const QHostAddress target = IcmpProbe::defaultTarget();
    ASSERT_EQ(target.protocol(), QAbstractSocket::IPv4Protocol);
    const char* notPublic[] = {"0.0.0.0/8",      "10.0.0.0/8",    "100.64.0.0/10",   "127.0.0.0/8",
                               "169.254.0.0/16", "172.16.0.0/12", "192.0.0.0/24",    "192.0.2.0/24",
                               "192.168.0.0/16", "198.18.0.0/15", "198.51.100.0/24", "203.0.113.0/24",
                               "224.0.0.0/4",    "240.0.0.0/4"};
    for (const char* net : notPublic) {
        const auto subnet = QHostAddress::parseSubnet(QString::fromLatin1(net));
        EXPECT_FALSE(target.isInSubnet(subnet)) << net;
    }
}

TEST(NetworkProbeInstance, DefaultsToTheRealProbeAndTakesAFake)
{
    NetworkProbe::setInstanceForTesting(nullptr);
    auto* real = dynamic_cast<IcmpProbe*>(&NetworkProbe::instance());
    ASSERT_NE(real, nullptr);
    EXPECT_EQ(real->target(), IcmpProbe::defaultTarget());

    ScriptedProbe fake({1});
    NetworkProbe::setInstanceForTesting(&fake);
    EXPECT_EQ(&NetworkProbe::instance(), &fake);
    EXPECT_TRUE(NetworkProbe::instance().isReachable());
    NetworkProbe::setInstanceForTesting(nullptr);
    EXPECT_EQ(&NetworkProbe::instance(), real);
}

bool canOpenIcmpSocket()
{
    for (int type : {SOCK_DGRAM, SOCK_RAW}) {
        const int fd = ::socket(AF_INET, type, IPPROTO_ICMP);
        if (fd >= 0) {
            ::close(fd);
            return true;
        }
    }
    return false;
}

// Only the loopback interface is ever probed here: no packet leaves the machine.
TEST(IcmpProbeLoopback, LoopbackAnswersWhenAnIcmpSocketCanBeOpened)
{
    IcmpProbe probe(QHostAddress(QStringLiteral("127.0.0.1")), 1000);
    if (canOpenIcmpSocket()) {
        EXPECT_TRUE(probe.isReachable());
        EXPECT_EQ(probe.requestsSent(), 1);
        EXPECT_TRUE(probe.echoOnce()) << "a second request on a new socket matches its own sequence";
    } else {
        bool reachable = true;
        EXPECT_NO_THROW(reachable = probe.isReachable());
        EXPECT_FALSE(reachable);
        EXPECT_EQ(probe.requestsSent(), 3);
    }
}

TEST(IcmpProbeLoopback, TargetsThatAreNotIpv4FailQuietly)
{
    for (const QHostAddress& target : {QHostAddress(QStringLiteral("::1")), QHostAddress()}) {
        IcmpProbe probe(target);
        QElapsedTimer timer;
        timer.start();
        EXPECT_FALSE(probe.isReachable());
        EXPECT_EQ(probe.requestsSent(), 3);
        EXPECT_LT(timer.elapsed(), 1000);
    }
}

QByteArray replyPacket(quint16 identifier, quint16 sequence, quint8 type = IcmpEcho::EchoReplyType)
{
    QByteArray packet = IcmpEcho::request(identifier, sequence, "payload");
    packet[0] = char(type);
    return packet;
}

QByteArray withIpHeader(const QByteArray& icmp, int headerWords = 5)
{
    QByteArray ip(headerWords * 4, '\0');
    ip[0] = char(0x40 | headerWords);
    ip[9] = 1; // protocol ICMP
    return ip + icmp;
}

TEST(IcmpEchoFormat, ChecksumFollowsRfc1071)
{
    EXPECT_EQ(IcmpEcho::checksum(QByteArray::fromHex("0001f203f4f5f6f7")), 0x220d);
    EXPECT_EQ(IcmpEcho::checksum(QByteArray()), 0xFFFF);
    EXPECT_EQ(IcmpEcho::checksum(QByteArray::fromHex("01")), quint16(~0x0100));
    EXPECT_EQ(IcmpEcho::checksum(QByteArray::fromHex("ffffffff")), 0x0000);
}

TEST(IcmpEchoFormat, RequestCarriesTypeIdSequencePayloadAndAValidChecksum)
{
    for (const QByteArray& payload :
         {QByteArray("abcdefghijklmnopqrstuvwabcdefghi"), QByteArray("odd"), QByteArray()}) {
        const QByteArray packet = IcmpEcho::request(0x1234, 0xBEEF, payload);
        ASSERT_EQ(packet.size(), 8 + payload.size());
        const auto* bytes = reinterpret_cast<const uchar*>(packet.constData());
        EXPECT_EQ(bytes[0], 8);
        EXPECT_EQ(bytes[1], 0);
        EXPECT_EQ(qFromBigEndian<quint16>(bytes + 4), 0x1234);
        EXPECT_EQ(qFromBigEndian<quint16>(bytes + 6), 0xBEEF);
        EXPECT_EQ(packet.mid(8), payload);
        EXPECT_EQ(IcmpEcho::checksum(packet), 0) << "a packet with its checksum sums to zero";
    }
}

TEST(IcmpEchoFormat, ReplyMatching)
{
    using IcmpEcho::isReplyTo;
    EXPECT_TRUE(isReplyTo(replyPacket(7, 3), false, false, 99, 3))
        << "datagram sockets ignore the identifier";
    EXPECT_FALSE(isReplyTo(replyPacket(7, 4), false, false, 7, 3)) << "an older request's reply";
    EXPECT_FALSE(isReplyTo(replyPacket(7, 3, IcmpEcho::EchoRequestType), false, false, 7, 3))
        << "our own request, seen by a raw socket on loopback";
    EXPECT_FALSE(isReplyTo(replyPacket(7, 3, 3), false, false, 7, 3)) << "destination unreachable";
    QByteArray badCode = replyPacket(7, 3);
    badCode[1] = 1;
    EXPECT_FALSE(isReplyTo(badCode, false, false, 7, 3));
    EXPECT_FALSE(isReplyTo(replyPacket(7, 3).left(7), false, false, 7, 3)) << "truncated";
    EXPECT_FALSE(isReplyTo(QByteArray(), false, false, 7, 3));

    EXPECT_TRUE(isReplyTo(withIpHeader(replyPacket(7, 3)), true, true, 7, 3));
    EXPECT_TRUE(isReplyTo(withIpHeader(replyPacket(7, 3), 6), true, true, 7, 3)) << "IP options are skipped";
    EXPECT_FALSE(isReplyTo(withIpHeader(replyPacket(8, 3)), true, true, 7, 3)) << "another process's reply";
    EXPECT_FALSE(isReplyTo(withIpHeader(replyPacket(7, 3)), false, false, 7, 3)) << "header taken as ICMP";
    EXPECT_FALSE(isReplyTo(withIpHeader(replyPacket(7, 3), 4), true, true, 7, 3))
        << "header length too small";
    EXPECT_FALSE(isReplyTo(withIpHeader(replyPacket(7, 3)).left(27), true, true, 7, 3));
    QByteArray ipv6 = withIpHeader(replyPacket(7, 3));
    ipv6[0] = char(0x65);
    EXPECT_FALSE(isReplyTo(ipv6, true, true, 7, 3));
    EXPECT_FALSE(isReplyTo(QByteArray(1, char(0x45)), true, true, 7, 3));
}

// A local datagram socket pair stands in for the ICMP socket: what one end sends, the other receives.
class SocketPair
{
public:
    SocketPair() { m_ok = ::socketpair(AF_UNIX, SOCK_DGRAM, 0, m_fds) == 0; }
    ~SocketPair()
    {
        if (m_ok) {
            ::close(m_fds[0]);
            ::close(m_fds[1]);
        }
    }
    bool ok() const { return m_ok; }
    int reader() const { return m_fds[0]; }
    void send(const QByteArray& packet) const
    {
        ASSERT_EQ(::send(m_fds[1], packet.constData(), size_t(packet.size()), 0), packet.size());
    }

private:
    int m_fds[2] = {-1, -1};
    bool m_ok = false;
};

TEST(IcmpEchoWait, SkipsStrayPacketsAndTakesTheMatchingReply)
{
    SocketPair pair;
    ASSERT_TRUE(pair.ok());
    pair.send(replyPacket(1, 1));
    pair.send(replyPacket(1, 2, IcmpEcho::EchoRequestType));
    pair.send(QByteArray("x"));
    pair.send(replyPacket(1, 2));
    EXPECT_TRUE(IcmpEcho::awaitReply(pair.reader(), false, false, 1, 2, 1000));
}

TEST(IcmpEchoWait, GivesUpAfterTheTimeOutWhenOnlyStrayPacketsCome)
{
    SocketPair pair;
    ASSERT_TRUE(pair.ok());
    pair.send(replyPacket(1, 1));
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(IcmpEcho::awaitReply(pair.reader(), false, false, 1, 2, 20));
    EXPECT_GE(timer.elapsed(), 19);
    EXPECT_LT(timer.elapsed(), 1000);
}

TEST(IcmpEchoWait, AnInvalidSocketIsNoReply)
{
    EXPECT_FALSE(IcmpEcho::awaitReply(-1, false, false, 1, 1, 10));
}

// The real wait loop on a socket that never answers, as with a target that drops the requests.
class SilentProbe : public IcmpProbe
{
public:
    SilentProbe() : IcmpProbe(QHostAddress(QStringLiteral("127.0.0.1"))) {}

protected:
    bool exchange(quint16 sequence, int timeoutMs) override
    {
        return IcmpEcho::awaitReply(m_pair.reader(), false, false, 1, sequence, timeoutMs);
    }

private:
    SocketPair m_pair;
};

TEST(IcmpEchoWait, AProbeWithoutAnswerTakesThreeTimeOuts)
{
    SilentProbe probe;
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(probe.isReachable());
    const qint64 elapsed = timer.elapsed();
    EXPECT_EQ(probe.requestsSent(), 3);
    EXPECT_GE(elapsed, 3 * IcmpProbe::ReplyTimeoutMs - 1);
    EXPECT_LT(elapsed, 500);
    std::printf("[          ] probe without answer took %lld ms\n", static_cast<long long>(elapsed));
}

} // namespace
} // namespace tarnex
