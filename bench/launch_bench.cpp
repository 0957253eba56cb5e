// Starting the program: from the launch of a fresh process of the real
// program until its main window has been drawn on the X server. The bench
// watches the server from outside, through the DAMAGE extension, which
// reports every drawing on the screen.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegion>
#include <QTemporaryDir>

#include <poll.h>
#include <unistd.h>
#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

#include "benchmark.h"

namespace {

using bench::fail;

constexpr int kTimeoutMs = 60000;

template <class Reply>
using ReplyPointer = std::unique_ptr<Reply, decltype(&std::free)>;

template <class Reply>
ReplyPointer<Reply> owned(Reply* reply) {
    return ReplyPointer<Reply>(reply, &std::free);
}

// A connection to the X server that sees every top-level window mapped and
// every area drawn on the screen.
class ScreenWatch {
public:
    ScreenWatch() : connection_(xcb_connect(nullptr, nullptr)) {
        if (xcb_connection_has_error(connection_)) fail("cannot connect to the X server");
        root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
        const xcb_query_extension_reply_t* damage =
            xcb_get_extension_data(connection_, &xcb_damage_id);
        if (!damage || !damage->present) fail("the X server has no DAMAGE extension");
        damageNotify_ = damage->first_event + XCB_DAMAGE_NOTIFY;
        free(xcb_damage_query_version_reply(connection_,
                                            xcb_damage_query_version(connection_, 1, 1), nullptr));
        const uint32_t events = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(connection_, root_, XCB_CW_EVENT_MASK, &events);
        // Drawing in any window is drawing on the root window's area.
        xcb_damage_create(connection_, xcb_generate_id(connection_), root_,
                          XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);
        free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
    }
    ~ScreenWatch() { xcb_disconnect(connection_); }

    // Waits until a top-level window has been mapped and its whole area drawn
    // by its program. Mapping the window reports its whole area once (the
    // server exposes it) before the program can draw, so the window is drawn
    // when its area has been reported whole a second time.
    void waitForPaintedWindow(const bench::Stopwatch& clock) {
        while (!painted()) {
            xcb_generic_event_t* event = xcb_poll_for_event(connection_);
            if (!event) {
                if (xcb_connection_has_error(connection_)) fail("the X server went away");
                const int left = kTimeoutMs - static_cast<int>(clock.seconds() * 1000);
                if (left <= 0) fail("the main window was never painted");
                pollfd entry{xcb_get_file_descriptor(connection_), POLLIN, 0};
                ::poll(&entry, 1, left);
                continue;
            }
            handle(event);
            free(event);
        }
    }

private:
    void handle(const xcb_generic_event_t* event) {
        const int type = event->response_type & 0x7f;
        if (type == XCB_MAP_NOTIFY && !window_) {
            const auto* map = reinterpret_cast<const xcb_map_notify_event_t*>(event);
            if (map->override_redirect) return;  // tooltips, menus
            const auto geometry = owned(xcb_get_geometry_reply(
                connection_, xcb_get_geometry(connection_, map->window), nullptr));
            if (geometry)
                window_ = QRect(geometry->x, geometry->y, geometry->width, geometry->height);
        } else if (type == damageNotify_) {
            const auto* damage = reinterpret_cast<const xcb_damage_notify_event_t*>(event);
            drawn_ +=
                QRect(damage->area.x, damage->area.y, damage->area.width, damage->area.height);
        }
    }

    bool painted() {
        if (!window_ || !(QRegion(*window_) - drawn_).isEmpty()) return false;
        if (exposed_) return true;
        exposed_ = true;  // by the server: what the program draws comes next
        drawn_ = QRegion();
        return false;
    }

    xcb_connection_t* connection_;
    xcb_window_t root_ = 0;
    int damageNotify_ = 0;
    std::optional<QRect> window_;
    QRegion drawn_;
    bool exposed_ = false;
};

// The peak memory of a running process (VmHWM), in kB.
long peakKbOf(qint64 pid) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

// The processor time (user and system) of a running process so far, in clock ticks.
double processorSecondsOf(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) return 0;
    const QByteArray text = stat.readAll();
    // The fields after the command name, which ends with the last ')'.
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    const long ticks = fields.value(11).toLong() + fields.value(12).toLong();  // utime, stime
    return static_cast<double>(ticks) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

bench::Measurement launchToPainted() {
    const QString program = QStringLiteral(QF_PROGRAM);
    const QString database = QStringLiteral(QF_PROGRAM_DIR "/names.mdb");
    const QString module = QStringLiteral(QF_PROGRAM_MODULE);
    for (const QString& file : {program, database, module})
        if (!QFile::exists(file)) fail(file.toStdString() + " is missing");

    // A user's machine in a folder: the program with its module and its
    // database, a fresh home.
    QTemporaryDir folder;
    const QDir dir(folder.path());
    const QString modules = QStringLiteral("program/" QF_MODULE_FOLDER_FROM_PROGRAM);
    for (const QString& sub :
         {QStringLiteral("program"), modules, QStringLiteral("home/Desktop"),
          QStringLiteral("config"), QStringLiteral("data"), QStringLiteral("runtime")})
        dir.mkpath(sub);
    QFile::setPermissions(dir.filePath("runtime"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile::copy(program, dir.filePath("program/quillfern"));
    QFile::copy(database, dir.filePath("program/names.mdb"));
    QFile::copy(module, dir.filePath(modules + QStringLiteral("/quillfern-windows.so")));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), dir.filePath("home"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath("config"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), dir.filePath("data"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.filePath("runtime"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    QProcess quillfern;
    quillfern.setProcessEnvironment(environment);
    quillfern.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    quillfern.setStandardOutputFile(QProcess::nullDevice());

    ScreenWatch screen;
    const bench::Stopwatch clock;
    quillfern.start(dir.filePath("program/quillfern"), {});
    if (!quillfern.waitForStarted(kTimeoutMs))
        fail("the program could not be started: " + quillfern.errorString().toStdString());
    screen.waitForPaintedWindow(clock);
    bench::Measurement measured{clock.seconds(), processorSecondsOf(quillfern.processId()),
                                peakKbOf(quillfern.processId())};
    if (quillfern.state() != QProcess::Running) fail("the program ended at start-up");
    quillfern.terminate();
    if (!quillfern.waitForFinished(10000)) quillfern.kill();
    quillfern.waitForFinished(10000);
    return measured;
}

const bench::Registrar launch{
    {"launch to main window painted (fresh process)", "<= 0.3 s", launchToPainted, [] {
         return std::vector<std::string>{QF_PROGRAM, QF_PROGRAM_DIR "/names.mdb",
                                         QF_PROGRAM_MODULE};
     }}};

}  // namespace
