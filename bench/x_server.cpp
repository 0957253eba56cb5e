#include "x_server.h"

#include <QtGui/qguiapplication_platform.h>
#include <QGuiApplication>
#include <QStandardPaths>

#include <xcb/xcb.h>

#include <cstdlib>

#include "benchmark.h"

namespace bench {

VirtualScreen::VirtualScreen() {
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    if (xvfb.isEmpty()) fail("Xvfb was not found on the PATH (scripts/dev installs it)");
    // With -displayfd 1 the server writes its display number to standard
    // output once it accepts clients.
    server_.setProcessChannelMode(QProcess::SeparateChannels);
    server_.start(xvfb,
                  {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                   QStringLiteral("0"), QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"),
                   QStringLiteral("tcp"), QStringLiteral("-noreset")});
    if (!server_.waitForStarted(30000))
        fail("Xvfb could not be started: " + server_.errorString().toStdString());
    while (!server_.canReadLine()) {
        if (!server_.waitForReadyRead(30000))
            fail("Xvfb did not become ready: " + server_.readAllStandardError().toStdString());
    }
    display_ = QLatin1Char(':') + QString::fromLatin1(server_.readLine().trimmed());
}

VirtualScreen::~VirtualScreen() {
    server_.terminate();
    if (!server_.waitForFinished(10000)) server_.kill();
    server_.waitForFinished(10000);
}

void waitForXServer() {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11) fail("the cases run on an X server (the xcb platform)");
    xcb_connection_t* connection = x11->connection();
    // A request with a reply: the server answers it after every earlier request.
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
}

}  // namespace bench
