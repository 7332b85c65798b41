#include "icecastserver.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QTcpSocket>
#include <QTest>
#include <gst/gst.h>
#include <unistd.h>

namespace {

// %1 folder, %2 port, %3 source password, %4 the user to run as (icecast
// refuses to run as root). A source that sends nothing for 2 s is dropped,
// so that a test sees soon whether silence keeps it.
constexpr const char *IcecastConfiguration = R"(<icecast>
  <limits><clients>20</clients><sources>4</sources><source-timeout>2</source-timeout>
    <burst-size>16384</burst-size></limits>
  <authentication><source-password>%3</source-password>
    <admin-user>admin</admin-user><admin-password>%3-admin</admin-password></authentication>
  <hostname>127.0.0.1</hostname>
  <listen-socket><port>%2</port><bind-address>127.0.0.1</bind-address></listen-socket>
  <fileserve>0</fileserve>
  <paths><basedir>%1</basedir><logdir>%1</logdir><pidfile>%1/icecast.pid</pidfile>
    <webroot>/usr/share/icecast2/web</webroot><adminroot>/usr/share/icecast2/admin</adminroot></paths>
  <logging><accesslog>access.log</accesslog><errorlog>error.log</errorlog><loglevel>3</loglevel></logging>
  <security><chroot>0</chroot>%4</security>
</icecast>
)";

bool answers(quint16 port)
{
    QTcpSocket probe;
    probe.connectToHost(QStringLiteral("127.0.0.1"), port);
    if (!probe.waitForConnected(1000))
        return false;
    probe.write("GET /status-json.xsl HTTP/1.0\r\n\r\n");
    return probe.waitForReadyRead(1000) && probe.readAll().startsWith("HTTP/1.");
}

} // namespace

bool TestIcecast::start()
{
    stop();
    if (m_port.port() == 0)
        return false;
    // Run as nobody when the tests run as root, so its folder must be theirs too.
    QFile::setPermissions(m_dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                                            | QFileDevice::ReadOther | QFileDevice::WriteOther
                                            | QFileDevice::ExeOther);
    const QString user =
        geteuid() == 0 ? QStringLiteral("<changeowner><user>nobody</user><group>nogroup</group></changeowner>") : "";
    const QString conf = m_dir.filePath(QStringLiteral("icecast.xml"));
    QFile file(conf);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(QString(IcecastConfiguration).arg(m_dir.path()).arg(m_port.port()).arg(m_password, user).toUtf8())
               < 0)
        return false;
    file.close();
    m_process = std::make_unique<QProcess>();
    m_process->setProcessChannelMode(QProcess::MergedChannels);
    m_process->setStandardOutputFile(m_dir.filePath(QStringLiteral("icecast.out")));
    m_process->start(QStringLiteral("icecast2"), {"-c", conf});
    m_process->waitForStarted();
    if (QTest::qWaitFor([this] { return m_process->state() == QProcess::NotRunning || answers(m_port.port()); },
                        20000)
        && m_process->state() == QProcess::Running)
        return true;
    for (const QString name : {"icecast.out", "error.log"}) {
        QFile log(m_dir.filePath(name));
        if (log.open(QIODevice::ReadOnly))
            qWarning().noquote() << "---" << name << '\n' << log.readAll().right(20000);
    }
    return false;
}

void TestIcecast::stop()
{
    if (!m_process)
        return;
    m_process->terminate();
    if (!m_process->waitForFinished(5000)) {
        m_process->kill();
        m_process->waitForFinished(5000);
    }
    m_process.reset();
}

StreamListener::StreamListener(const QString &url)
{
    if (!gst_is_initialized())
        gst_init(nullptr, nullptr);
    // Asks for the titles in the stream, as radio players do.
    const QByteArray description = "souphttpsrc iradio-mode=true location=\"" + url.toUtf8()
                                   + "\" ! icydemux ! decodebin ! audioconvert ! level interval=100000000"
                                     " ! fakesink sync=false";
    GError *error = nullptr;
    m_pipeline = gst_parse_launch(description.constData(), &error);
    if (error)
        g_error_free(error);
    m_failed = !m_pipeline || gst_element_set_state(m_pipeline, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE;
}

StreamListener::~StreamListener()
{
    if (!m_pipeline)
        return;
    gst_element_set_state(m_pipeline, GST_STATE_NULL);
    gst_object_unref(m_pipeline);
}

void StreamListener::update()
{
    if (!m_pipeline)
        return;
    GstBus *bus = gst_element_get_bus(m_pipeline);
    while (GstMessage *message = gst_bus_pop(bus)) {
        if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR) {
            m_failed = true;
        } else if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_TAG) {
            GstTagList *tags = nullptr;
            gst_message_parse_tag(message, &tags);
            gchar *title = nullptr;
            if (gst_tag_list_get_string(tags, GST_TAG_TITLE, &title)) {
                if (m_titles.isEmpty() || m_titles.last() != QString::fromUtf8(title))
                    m_titles.append(QString::fromUtf8(title));
                g_free(title);
            }
            gst_tag_list_unref(tags);
        } else if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_ELEMENT) {
            const GstStructure *levels = gst_message_get_structure(message);
            const GValue *rms = gst_structure_get_value(levels, "rms");
            // A tone the tests make is far above -40 dB; silence is far below.
            if (gst_structure_has_name(levels, "level") && rms && G_VALUE_HOLDS_BOXED(rms)) {
                m_receiving = true;
                G_GNUC_BEGIN_IGNORE_DEPRECATIONS
                auto *channels = static_cast<GValueArray *>(g_value_get_boxed(rms));
                for (guint i = 0; channels && i < channels->n_values; ++i)
                    if (g_value_get_double(g_value_array_get_nth(channels, i)) > -40)
                        m_heardSound = true;
                G_GNUC_END_IGNORE_DEPRECATIONS
            }
        }
        gst_message_unref(message);
    }
    gst_object_unref(bus);
}
