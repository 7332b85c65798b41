#include "player/streamsender.h"

#include <QCoreApplication>
#include <QNetworkReply>
#include <QNetworkRequest>

#include <algorithm>

namespace {

// Waits before trying again: doubling from a second up to a minute.
constexpr int firstWaitMs = 1000;
constexpr int longestWaitMs = 60000;
// Connecting and the server's answer to the request.
constexpr int answerMs = 10000;
// What a server that has stopped reading may leave unsent before the link
// is given up: bounded memory, and a listener would hear it late anyway.
constexpr qint64 unsentLimit = 512 * 1024;
// The longest answer read before the stream begins.
constexpr qsizetype answerLimit = 4096;

QByteArray basicAuthorization(const QString &password)
{
    return "Basic " + ("source:" + password.toUtf8()).toBase64();
}

} // namespace

StreamSender::StreamSender(StreamTarget target, QObject *parent)
    : QObject(parent)
    , m_target(std::move(target))
{
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, [this] { fail(QStringLiteral("the server did not answer")); });
    m_retry.setSingleShot(true);
    connect(&m_retry, &QTimer::timeout, this, &StreamSender::connectToServer);
    // Encoded sound goes out a period at a time, as it is ready: each write
    // costs a wake-up and a system call, and the server buffers for its
    // listeners anyway.
    connect(&m_encoder, &StreamEncoder::framesReady, this, &StreamSender::send);
    connect(&m_socket, &QTcpSocket::connected, this, &StreamSender::ask);
    connect(&m_socket, &QTcpSocket::readyRead, this, &StreamSender::readReply);
    connect(&m_socket, &QTcpSocket::errorOccurred, this, [this] { fail(m_socket.errorString()); });
    connect(&m_encoder, &StreamEncoder::failed, this, [this](const QString &why) {
        m_encoding = false;
        fail(why);
    });
}

void StreamSender::start()
{
    const QString problem = m_encoder.start();
    m_encoding = problem.isEmpty();
    m_waitMs = firstWaitMs;
    if (!m_encoding)
        return fail(problem);
    connectToServer();
}

void StreamSender::connectToServer()
{
    if (!m_encoding)
        return;
    m_phase = Phase::Connecting;
    m_reply.clear();
    m_deadline.start(answerMs);
    m_socket.connectToHost(m_target.listenUrl.host(), quint16(m_target.listenUrl.port(80)));
}

// Icecast 2.4's source protocol: a PUT that waits for "100 Continue".
void StreamSender::ask()
{
    m_phase = Phase::Asking;
    const QUrl &url = m_target.listenUrl;
    m_socket.write("PUT " + url.path(QUrl::FullyEncoded).toLatin1() + " HTTP/1.1\r\n"
                   "Host: " + url.authority(QUrl::FullyEncoded).toLatin1() + "\r\n"
                   "Authorization: " + basicAuthorization(m_target.password) + "\r\n"
                   "User-Agent: dun2/" + QCoreApplication::applicationVersion().toLatin1() + "\r\n"
                   "Content-Type: audio/mpeg\r\n"
                   "Ice-Name: dun2\r\n"
                   "Ice-Public: 0\r\n"
                   "Ice-Audio-Info: bitrate=" + QByteArray::number(StreamEncoder::Kbps) + "\r\n"
                   "Expect: 100-continue\r\n\r\n");
}

void StreamSender::readReply()
{
    if (m_phase != Phase::Asking) {
        // Nothing more is expected of a server taking a stream.
        m_socket.readAll();
        return;
    }
    m_reply += m_socket.read(answerLimit - m_reply.size());
    const qsizetype lineEnd = m_reply.indexOf("\r\n");
    if (lineEnd < 0) {
        if (m_reply.size() >= answerLimit)
            fail(QStringLiteral("the server's answer is no HTTP"));
        return;
    }
    // "HTTP/1.1 100 Continue", or the refusal: "HTTP/1.0 401 Authentication Required".
    const QList<QByteArray> status = m_reply.first(lineEnd).split(' ');
    const int code = status.value(1).toInt();
    if (!status.value(0).startsWith("HTTP/") || (code != 100 && code != 200)) {
        const QString line = QString::fromLatin1(m_reply.first(std::min<qsizetype>(lineEnd, 200)));
        return fail(QStringLiteral("the server refused the stream: ") + line.simplified());
    }
    m_phase = Phase::Live;
    m_deadline.stop();
    m_waitMs = firstWaitMs;
    m_encoder.setKeeping(true);
    sendTitle();
    emit wentLive(!std::exchange(m_wasLive, true));
}

void StreamSender::send()
{
    if (m_phase != Phase::Live)
        return;
    if (m_socket.bytesToWrite() > unsentLimit)
        return fail(QStringLiteral("the server stopped taking the stream"));
    const QByteArray frames = m_encoder.takeFrames();
    if (!frames.isEmpty())
        m_socket.write(frames);
}

void StreamSender::fail(const QString &why)
{
    if (m_phase == Phase::Down && m_retry.isActive())
        return;
    m_phase = Phase::Down;
    m_deadline.stop();
    m_encoder.setKeeping(false);
    m_socket.abort();
    emit wentDown(why);
    if (!m_encoding)
        return;
    m_retry.start(m_waitMs);
    m_waitMs = std::min(m_waitMs * 2, longestWaitMs);
}

void StreamSender::setTitle(const QString &title)
{
    m_title = title;
    if (m_phase == Phase::Live)
        sendTitle();
}

// Icecast's own way to set a mount's title, with the source's password.
void StreamSender::sendTitle()
{
    if (m_title.isEmpty())
        return;
    // Everything but letters and digits encoded: a "+" or "&" in a name is
    // part of the title.
    const auto encoded = [](const QString &text) { return QString::fromLatin1(QUrl::toPercentEncoding(text)); };
    QUrl url = m_target.listenUrl;
    url.setPath(QStringLiteral("/admin/metadata"));
    url.setQuery(QStringLiteral("mount=%1&mode=updinfo&song=%2")
                     .arg(encoded(m_target.listenUrl.path()), encoded(m_title.left(TitleLength))),
                 QUrl::StrictMode);
    QNetworkRequest request(url);
    request.setRawHeader("Authorization", basicAuthorization(m_target.password));
    request.setTransferTimeout(answerMs);
    QNetworkReply *reply = m_network.get(request);
    connect(reply, &QNetworkReply::finished, reply, &QObject::deleteLater);
}
